#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Plays a script on the Options sheet from a timer that fires inside its modal loop:
// one step per tick, each given the sheet. Other dialogs that the sheet opens go to the
// dialog steps, in order, while they last; later ones (message boxes) are answered with
// OK and their texts kept. When the steps are used up and the sheet is still open a
// while later, it is cancelled and the run counts as hung.
class COptionsSheetDriver {
public:
    using Step = std::function<void(HWND sheet)>;
    using DialogStep = std::function<void(HWND dialog)>;

    // Calls open (which shows the sheet modally) while the steps play.
    void Run(const std::function<void()>& open, std::vector<Step> steps, std::vector<DialogStep> dialogSteps = {});

    bool Hung() const { return m_bHung; }
    bool Finished() const { return m_bFinished; }
    const std::vector<std::string>& Messages() const { return m_messages; }

private:
    static BOOL CALLBACK OnWindow(HWND window, LPARAM found);
    // Answers a dialog that is up; the sheet when it waits for a step, or null.
    HWND ReadySheet();

    HWND m_sheet = nullptr;
    bool m_bFinished = false;
    std::vector<DialogStep> m_dialogSteps;
    size_t m_nextDialogStep = 0;
    int m_nIdleTicks = 0;
    bool m_bHung = false;
    std::vector<std::string> m_messages;
};

// What a step does on the sheet, the way the sheet's own messages and the user do it.
HWND CurrentPage(HWND sheet);
int CurrentPageIndex(HWND sheet);
void ShowPage(HWND sheet, int index);
void PressOk(HWND sheet);
void PressCancel(HWND sheet);
void PressRestoreDefaults(HWND sheet);
// Clicks a button or check box of the current page.
void Click(HWND sheet, int id);
// Real mouse clicks and key presses, handled once the step has returned: on a tab of
// the sheet, and digits typed over the whole text of an edit of the current page.
void ClickTab(HWND sheet, int index);
void TypeDigits(HWND sheet, int id, const char* digits);
HWND PageItem(HWND sheet, int id);
void SetItemText(HWND sheet, int id, const char* text);
std::string ItemText(HWND sheet, int id);
// The control of the current page that has the focus, or 0.
int FocusedId(HWND sheet);
