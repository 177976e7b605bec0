#include "gui/OptionsSheetDriver.h"

#include <commctrl.h>

#include "KeyInput.h"
#include "RealClick.h"
#include "DialogAnswerer.h"
#include "TimedSteps.h"
#include "res/resource.h"

namespace {
const int kHangTicks = 40;

struct FoundWindows {
    HWND sheet = nullptr;
    HWND messageBox = nullptr;
};
}  // namespace

void COptionsSheetDriver::Run(const std::function<void()>& open, std::vector<Step> steps,
                              std::vector<DialogStep> dialogSteps)
{
    m_dialogSteps = std::move(dialogSteps);
    m_nextDialogStep = 0;
    m_nIdleTicks = 0;
    m_bHung = false;
    m_messages.clear();
    std::vector<CTimedSteps::Step> script;
    for (const Step& step : steps)
        script.push_back({[this] { return (m_sheet = ReadySheet()) != nullptr; }, [this, step] { step(m_sheet); }});
    // Dialogs go on being answered after the last step.
    script.push_back({[this] {
                          const HWND sheet = ReadySheet();
                          if (sheet && ++m_nIdleTicks > kHangTicks) {
                              m_bHung = true;
                              PressCancel(sheet);
                          }
                          return false;
                      },
                      nullptr});
    CTimedSteps play(std::move(script), INFINITE, nullptr, 50);
    open();
    m_bFinished = play.StepsTaken() == steps.size();
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

HWND COptionsSheetDriver::ReadySheet()
{
    FoundWindows found;
    EnumThreadWindows(GetCurrentThreadId(), OnWindow, reinterpret_cast<LPARAM>(&found));
    if (found.messageBox && m_nextDialogStep < m_dialogSteps.size()) {
        m_dialogSteps[m_nextDialogStep++](found.messageBox);
        return nullptr;
    }
    if (found.messageBox) {
        m_messages.push_back(MessageBoxText(found.messageBox));
        PostMessageA(found.messageBox, WM_COMMAND, IDOK, 0);
        return nullptr;
    }
    // A disabled sheet has a dialog on its way.
    return found.sheet && IsWindowEnabled(found.sheet) ? found.sheet : nullptr;
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

void ClickTab(HWND sheet, int index)
{
    HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    RECT rc;
    SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc));
    ClickInWindow(tabs, rc);
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
