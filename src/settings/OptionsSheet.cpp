#include "settings/OptionsSheet.h"

#include <commctrl.h>

#include <utility>

#include "res/resource.h"
#include "settings/StartWithWindows.h"
#include "ui/CenterWindow.h"
#include "ui/DpiScale.h"
#include "util/FastString.h"

namespace {
// The restore-defaults button sits this far from the sheet's left edge, level with
// OK and Cancel.
const int kButtonLeft = 7;  // pixels at 96 DPI
}  // namespace

COptionsSheet::COptionsSheet(const CSettings& settings, CAuxPage::SkinManagerSource skinManagerSource)
    : m_settings(settings),
      m_bStartWithWindows(CStartWithWindows::ForThisProgram().IsOn()),
      m_generalPage(m_settings, [this](HWND hSheet) { SetUp(hSheet); }),
      m_savePage(m_settings),
      m_hotkeyPage(m_settings),
      m_auxPage(m_settings, std::move(skinManagerSource)),
      m_morePage(m_settings, m_settings, m_bStartWithWindows)
{
}

INT_PTR COptionsSheet::Run(HWND hParent)
{
    PROPSHEETPAGEA pages[] = {m_generalPage.Describe(), m_savePage.Describe(), m_hotkeyPage.Describe(),
                              m_auxPage.Describe(), m_morePage.Describe()};
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    header.hwndParent = hParent;
    header.hInstance = GetModuleHandleA(nullptr);
    header.nPages = sizeof pages / sizeof pages[0];
    header.nStartPage = 0;
    header.ppsp = pages;
    return PropertySheetA(&header);
}

LRESULT COptionsSheet::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND && LOWORD(wParam) == IDC_RESTORE_DEFAULTS) {
        RestoreDefaults();
        return 0;
    }
    return DefaultProc(msg, wParam, lParam);
}

void COptionsSheet::SetUp(HWND hSheet)
{
    Subclass(hSheet);
    CenterOverOwner(hSheet);
    AddRestoreDefaultsButton();
    Vorn::CFastString<64> title;
    title.LoadString(IDS_OPTIONS_TITLE);
    SendMessageA(hSheet, PSM_SETTITLEA, 0, reinterpret_cast<LPARAM>(title.GetString()));
}

void COptionsSheet::AddRestoreDefaultsButton()
{
    RECT rcCancel;
    GetWindowRect(GetDlgItem(Handle(), IDCANCEL), &rcCancel);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rcCancel), 2);
    Vorn::CFastString<64> text;
    text.LoadString(IDS_RESTORE_DEFAULTS);
    HWND hButton = CreateWindowExA(0, "BUTTON", text.GetString(), WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                   CDpiScale::OfWindow(Handle()).Scale(kButtonLeft),
                                   rcCancel.top, rcCancel.right - rcCancel.left, rcCancel.bottom - rcCancel.top,
                                   Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_RESTORE_DEFAULTS)),
                                   GetModuleHandleA(nullptr), nullptr);
    SendMessageA(hButton, WM_SETFONT, SendMessageA(Handle(), WM_GETFONT, 0, 0), FALSE);
}

void COptionsSheet::RestoreDefaults()
{
    m_settings.SetDefaults();
    if (m_generalPage.Handle())
        m_generalPage.Load();
    if (m_savePage.Handle())
        m_savePage.Load();
    if (m_hotkeyPage.Handle())
        m_hotkeyPage.Load();
    if (m_auxPage.Handle())
        m_auxPage.Load();
    if (m_morePage.Handle())
        m_morePage.Load();
}
