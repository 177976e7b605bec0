#include "gui/OptionsSheetDriver.h"

#include <commctrl.h>

#include "KeyInput.h"
#include "RealClick.h"
#include "DialogAnswerer.h"
#include "res/resource.h"

namespace {
COptionsSheetDriver* g_driver = nullptr;
const int kHangTicks = 40;

struct FoundWindows {
    HWND sheet = nullptr;
    HWND messageBox = nullptr;
};
}  // namespace

void COptionsSheetDriver::Run(const std::function<void()>& open, std::vector<Step> steps,
                              std::vector<DialogStep> dialogSteps)
{
    m_steps = std::move(steps);
    m_nextStep = 0;
    m_dialogSteps = std::move(dialogSteps);
    m_nextDialogStep = 0;
    m_nIdleTicks = 0;
    m_bHung = false;
    m_messages.clear();
    g_driver = this;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, OnTimer);
    open();
    KillTimer(nullptr, timer);
    g_driver = nullptr;
}

void CALLBACK COptionsSheetDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_driver)
        g_driver->Tick();
}

BOOL CALLBACK COptionsSheetDriver::OnWindow(HWND window, LPARAM lParam)
{
    auto* found = reinterpret_cast<FoundWindows*>(lParam);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770" || !IsWindowVisible(window))
        return TRUE;
    if (FindWindowExA(window, nullptr, WC_TABCONTROLA, nullptr))
        found->sheet = window;
    else
        found->messageBox = window;
    return TRUE;
}

void COptionsSheetDriver::Tick()
{
    FoundWindows found;
    EnumThreadWindows(GetCurrentThreadId(), OnWindow, reinterpret_cast<LPARAM>(&found));
    if (found.messageBox && m_nextDialogStep < m_dialogSteps.size()) {
        m_dialogSteps[m_nextDialogStep++](found.messageBox);
        return;
    }
    if (found.messageBox) {
        m_messages.push_back(MessageBoxText(found.messageBox));
        PostMessageA(found.messageBox, WM_COMMAND, IDOK, 0);
        return;
    }
    // A disabled sheet has a dialog on its way.
    if (!found.sheet || !IsWindowEnabled(found.sheet))
        return;
    if (m_nextStep < m_steps.size()) {
        // The step may open a message box and run its loop; it must not play the next step.
        const Step& step = m_steps[m_nextStep++];
        step(found.sheet);
    } else if (++m_nIdleTicks > kHangTicks) {
        m_bHung = true;
        PressCancel(found.sheet);
    }
}

HWND CurrentPage(HWND sheet)
{
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

int CurrentPageIndex(HWND sheet)
{
    return static_cast<int>(SendMessageA(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(CurrentPage(sheet)), 0));
}

void ShowPage(HWND sheet, int index)
{
    SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void PressOk(HWND sheet)
{
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
}

void PressCancel(HWND sheet)
{
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

void PressRestoreDefaults(HWND sheet)
{
    SendDlgItemMessageA(sheet, IDC_RESTORE_DEFAULTS, BM_CLICK, 0, 0);
}

void Click(HWND sheet, int id)
{
    SendDlgItemMessageA(CurrentPage(sheet), id, BM_CLICK, 0, 0);
}

void SetItemText(HWND sheet, int id, const char* text)
{
    SetDlgItemTextA(CurrentPage(sheet), id, text);
}

std::string ItemText(HWND sheet, int id)
{
    char text[512] = {};
    GetDlgItemTextA(CurrentPage(sheet), id, text, sizeof text);
    return text;
}

int FocusedId(HWND sheet)
{
    HWND focus = GetFocus();
    return GetParent(focus) == CurrentPage(sheet) ? GetDlgCtrlID(focus) : 0;
}

void ClickWithMouse(HWND window)
{
    RECT rc;
    GetWindowRect(window, &rc);
    ClickAtScreen({(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
}

void ClickTab(HWND sheet, int index)
{
    HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    RECT rc;
    SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc));
    POINT centre = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ClientToScreen(tabs, &centre);
    ClickAtScreen(centre);
}

void TypeDigits(HWND sheet, int id, const char* digits)
{
    HWND edit = PageItem(sheet, id);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    PressKeys({VK_DELETE});
    for (const char* digit = digits; *digit; ++digit)
        PressKeys({static_cast<WORD>(*digit)});
}

HWND PageItem(HWND sheet, int id)
{
    return GetDlgItem(CurrentPage(sheet), id);
}
