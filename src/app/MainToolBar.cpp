#include "app/MainToolBar.h"

#include <commctrl.h>
#include <shlwapi.h>

#include "app/Application.h"
#include "document/ToolBarImages.h"
#include "document/ToolBarTips.h"
#include "res/resource.h"
#include "ui/DpiScale.h"

namespace {
TBBUTTON Button(int image, UINT command, BYTE style = BTNS_BUTTON)
{
    TBBUTTON button{};
    button.iBitmap = image;
    button.idCommand = static_cast<int>(command);
    button.fsState = TBSTATE_ENABLED;
    // Each button as wide as its own label: the bar keeps to the window at 150% too.
    button.fsStyle = style | BTNS_AUTOSIZE;
    button.iString = image;  // labels are added in picture order
    return button;
}

TBBUTTON Separator()
{
    TBBUTTON button{};
    button.iBitmap = 4;
    button.fsStyle = BTNS_SEP;
    return button;
}

TBBUTTON g_buttons[] = {
    Button(0, ID_FILE_OPEN),
    Button(1, ID_FILE_SAVE),
    Separator(),
    Button(2, ID_CAPTURE_FULLSCREEN),
    Button(3, ID_CAPTURE_WINDOW),
    Button(4, ID_CAPTURE_REGION),
    Button(5, ID_CAPTURE_OBJECT),
    Button(13, ID_CAPTURE_LAST_REGION),
    Button(14, ID_CAPTURE_MARKUP),
    Button(15, ID_CAPTURE_LONGSHOT),
    Button(16, ID_CAPTURE_RECORD_GIF),
    Separator(),
    Button(6, ID_CAPTURE_INCLUDE_CURSOR),
    Separator(),
    Button(7, ID_ZOOM_IN),
    Button(8, ID_ZOOM_OUT),
    Button(9, ID_EDITORS, BTNS_WHOLEDROPDOWN),
    Button(10, ID_ZOOM_FIT),
    Button(11, ID_ZOOM_ACTUAL),
    Separator(),
    Button(12, ID_VIEW_OPTIONS),
};
constexpr int kButtonCount = sizeof(g_buttons) / sizeof(g_buttons[0]);

DWORD CommonControlsVersion()
{
    DWORD version = 0;
    HMODULE comctl = GetModuleHandleA("comctl32.dll");
    auto getVersion = comctl ? reinterpret_cast<DLLGETVERSIONPROC>(
                                   reinterpret_cast<void*>(GetProcAddress(comctl, "DllGetVersion")))
                             : nullptr;
    DLLVERSIONINFO info{};
    info.cbSize = sizeof(info);
    if (getVersion && SUCCEEDED(getVersion(&info)))
        version = MAKELONG(info.dwMinorVersion, info.dwMajorVersion);
    return version;
}

// Controls older than 5.80 cannot draw a whole drop-down button; the editor button
// becomes a plain drop-down there. Done once, before the table is first used.
void AdaptButtonsToControls()
{
    static bool adapted = false;
    if (adapted)
        return;
    adapted = true;
    if (CommonControlsVersion() < MAKELONG(80, 5))
        for (TBBUTTON& button : g_buttons)
            if (button.idCommand == ID_EDITORS)
                button.fsStyle = BTNS_DROPDOWN | BTNS_AUTOSIZE;
}
}

HWND CreateMainToolBar(HWND parent)
{
    AdaptButtonsToControls();
    HWND toolBar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                                   WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | CCS_NODIVIDER |
                                       CCS_NORESIZE | CCS_NOPARENTALIGN | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT,
                                   0, 0, 0, 0, parent, reinterpret_cast<HMENU>(ID_VIEW_TOOLBAR),
                                   g_app.Instance(), nullptr);
    if (!toolBar)
        return nullptr;

    SendMessageA(toolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolBar, TB_ADDBUTTONSA, kButtonCount, reinterpret_cast<LPARAM>(g_buttons));
    for (UINT command : CToolBarImages::kCommands) {
        // TB_ADDSTRING takes a list that ends with an empty string.
        char label[66] = {};
        LoadCommandLabel(command, label, 64);
        SendMessageA(toolBar, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(label));
    }
    SendMessageA(toolBar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    SendMessageA(toolBar, TB_SETMAXTEXTROWS, 1, 0);
    return toolBar;
}

void ShowMainToolBarPictures(HWND toolBar, const CToolBarImages& images, const CDpiScale& dpi)
{
    ShowToolBarPictures(toolBar, images, g_buttons, kButtonCount, dpi);
}
