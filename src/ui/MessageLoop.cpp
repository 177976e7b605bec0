#include "ui/MessageLoop.h"

#include <algorithm>

namespace {
const UINT WM_SYSTIMER = 0x0118;  // caret blinking and other timers of the system

template <typename T>
void RemoveFrom(std::vector<T*>& list, T* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}
}

void CMessageLoop::AddMessageFilter(ILoopMessageFilter* filter) { m_filters.push_back(filter); }
void CMessageLoop::RemoveMessageFilter(ILoopMessageFilter* filter) { RemoveFrom(m_filters, filter); }
void CMessageLoop::AddIdleHandler(IIdleHandler* handler) { m_idleHandlers.push_back(handler); }
void CMessageLoop::RemoveIdleHandler(IIdleHandler* handler) { RemoveFrom(m_idleHandlers, handler); }

bool CMessageLoop::IsIdleMessage(const MSG& msg)
{
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case WM_SYSTIMER:
        return true;
    }
    return false;
}

int CMessageLoop::Run()
{
    bool doIdle = true;
    int idleCount = 0;
    for (;;) {
        while (doIdle && !PeekMessageA(&m_msg, nullptr, 0, 0, PM_NOREMOVE)) {
            OnIdle(idleCount++);
            doIdle = false;  // one round per empty queue
        }

        BOOL got = GetMessageA(&m_msg, nullptr, 0, 0);
        if (got == -1)
            continue;
        if (!got)
            break;

        if (!PreTranslateMessage(&m_msg)) {
            TranslateMessage(&m_msg);
            DispatchMessageA(&m_msg);
        }

        if (!IsIdleMessage(m_msg)) {
            doIdle = true;
            idleCount = 0;
        }
    }
    return static_cast<int>(m_msg.wParam);
}

bool CMessageLoop::PreTranslateMessage(MSG* msg)
{
    // A filter may remove itself while it runs, so walk a copy.
    std::vector<ILoopMessageFilter*> filters(m_filters.rbegin(), m_filters.rend());
    for (ILoopMessageFilter* filter : filters)
        if (filter->PreTranslateMessage(msg))
            return true;
    return false;
}

void CMessageLoop::OnIdle(int idleCount)
{
    std::vector<IIdleHandler*> handlers(m_idleHandlers);
    for (IIdleHandler* handler : handlers)
        handler->OnIdle(idleCount);
}
