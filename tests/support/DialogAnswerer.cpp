#include "DialogAnswerer.h"

namespace {
CDialogAnswerer* g_active = nullptr;
}

CDialogAnswerer::CDialogAnswerer(std::vector<Step> steps) : m_steps(std::move(steps))
{
    g_active = this;
    m_timer = SetTimer(nullptr, 0, 50, OnTimer);
}

CDialogAnswerer::~CDialogAnswerer()
{
    KillTimer(nullptr, m_timer);
    g_active = nullptr;
}

void CALLBACK CDialogAnswerer::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_active && g_active->m_nextStep < g_active->m_steps.size())
        EnumThreadWindows(GetCurrentThreadId(), OnWindow, 0);
}

BOOL CALLBACK CDialogAnswerer::OnWindow(HWND window, LPARAM)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770" || !IsWindowVisible(window) || g_active->m_answered.count(window))
        return TRUE;
    g_active->m_answered.insert(window);
    const Step& step = g_active->m_steps[g_active->m_nextStep++];
    step(window);
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
    char text[512] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}
