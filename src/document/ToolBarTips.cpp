#include "document/ToolBarTips.h"

#include <cstring>

#include "util/FastString.h"

void LoadCommandLabel(UINT id, char* label, int size)
{
    Vorn::CFastString<64> text;
    text.LoadString(id);
    const char* lineFeed = strchr(text.GetString(), '\n');
    lstrcpynA(label, lineFeed ? lineFeed + 1 : " ", size);
}

bool FillToolBarTip(NMHDR* header)
{
    const UINT id = static_cast<UINT>(header->idFrom);
    if (id == 0)
        return false;
    char label[80];
    LoadCommandLabel(id, label, sizeof(label));
    SetToolTipText(header, label);
    return true;
}

void SetToolTipText(NMHDR* header, const char* text)
{
    if (header->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        lstrcpynA(info->szText, text, sizeof(info->szText));
        info->lpszText = info->szText;
        info->hinst = nullptr;
    } else {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        MultiByteToWideChar(CP_ACP, 0, text, -1, info->szText, sizeof(info->szText) / sizeof(info->szText[0]));
        info->lpszText = info->szText;
        info->hinst = nullptr;
    }
}

void QuietToolTips(HWND toolBar, bool quiet)
{
    HWND tips = reinterpret_cast<HWND>(SendMessageA(toolBar, TB_GETTOOLTIPS, 0, 0));
    if (quiet) {
        // A move off every tool also stops a tip that is still waiting for its delay.
        MSG away{toolBar, WM_MOUSEMOVE, 0, MAKELPARAM(-1, -1), 0, {}};
        SendMessageA(tips, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&away));
    }
    SendMessageA(tips, TTM_ACTIVATE, !quiet, 0);
}
