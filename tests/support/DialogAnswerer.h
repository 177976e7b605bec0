#pragma once
#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

// Answers the modal dialogs and message boxes this thread opens, from a timer that
// fires inside their modal loops: each step receives the next top-level dialog
// ("#32770") that appears. One answerer is active at a time.
class CDialogAnswerer {
public:
    using Step = std::function<void(HWND dialog)>;

    explicit CDialogAnswerer(std::vector<Step> steps);
    ~CDialogAnswerer();
    CDialogAnswerer(const CDialogAnswerer&) = delete;
    CDialogAnswerer& operator=(const CDialogAnswerer&) = delete;

    size_t StepsTaken() const { return m_nextStep; }

    // A step that records a message box's text and presses one of its buttons.
    static Step Press(int button, std::string* text = nullptr);

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    static BOOL CALLBACK OnWindow(HWND window, LPARAM);

    std::vector<Step> m_steps;
    size_t m_nextStep = 0;
    std::set<HWND> m_answered;
    UINT_PTR m_timer;
};

// The text of a message box.
std::string MessageBoxText(HWND box);
