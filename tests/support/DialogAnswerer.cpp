#include "DialogAnswerer.h"

#include "ThreadWindows.h"

CDialogAnswerer::CDialogAnswerer(const std::vector<Step>& steps) : m_steps(Answers(steps), INFINITE, nullptr, 50)
{
}

std::vector<CTimedSteps::Step> CDialogAnswerer::Answers(const std::vector<Step>& steps)
{
    std::vector<CTimedSteps::Step> answers;
    for (const Step& step : steps)
        answers.push_back({[this] { return NextDialog(); }, [this, step] { step(m_dialog); }});
    return answers;
}

bool CDialogAnswerer::NextDialog()
{
    m_dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), OnWindow, reinterpret_cast<LPARAM>(this));
    return m_dialog != nullptr;
}

BOOL CALLBACK CDialogAnswerer::OnWindow(HWND window, LPARAM self)
{
    auto& answerer = *reinterpret_cast<CDialogAnswerer*>(self);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770" || !IsWindowVisible(window) || !answerer.m_answered.insert(window).second)
        return TRUE;
    answerer.m_dialog = window;
    return FALSE;
}

CDialogAnswerer::Step CDialogAnswerer::Press(int button, std::string* text)
{
    return [button, text](HWND dialog) {
        if (text)
            *text = MessageBoxText(dialog);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    };
}

std::string MessageBoxText(HWND box)
{
    // The text is the one static control that is not an icon.
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (WindowClass(child) != "Static" || (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            continue;
        const std::string text = WindowText(child);
        if (!text.empty())
            return text;
    }
    return std::string();
}
