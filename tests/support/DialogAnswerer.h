#pragma once
#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "TimedSteps.h"

// Answers the modal dialogs and message boxes this thread opens, from a timer that
// fires inside their modal loops: each step receives the next top-level dialog
// ("#32770") that appears.
class CDialogAnswerer {
public:
    using Step = std::function<void(HWND dialog)>;

    explicit CDialogAnswerer(const std::vector<Step>& steps);

    size_t StepsTaken() const { return m_steps.StepsTaken(); }

    // A step that records a message box's text and presses one of its buttons.
    static Step Press(int button, std::string* text = nullptr);

private:
    std::vector<CTimedSteps::Step> Answers(const std::vector<Step>& steps);
    // Finds a dialog not seen before.
    bool NextDialog();
    static BOOL CALLBACK OnWindow(HWND window, LPARAM self);

    std::set<HWND> m_answered;
    HWND m_dialog = nullptr;
    CTimedSteps m_steps;
};

// The text of a message box, of this process or another.
std::string MessageBoxText(HWND box);
