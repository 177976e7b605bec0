#include "app/Application.h"

CApplication g_app;

void CApplication::Init(HINSTANCE hInstance) { m_hInstance = hInstance; }

void CApplication::Term()
{
    CSectionLock lock(m_lock);
    m_loops.clear();
}

bool CApplication::AddMessageLoop(CMessageLoop* loop)
{
    CSectionLock lock(m_lock);
    return m_loops.emplace(GetCurrentThreadId(), loop).second;
}

void CApplication::RemoveMessageLoop()
{
    CSectionLock lock(m_lock);
    m_loops.erase(GetCurrentThreadId());
}

CMessageLoop* CApplication::GetMessageLoop(DWORD threadId)
{
    CSectionLock lock(m_lock);
    auto found = m_loops.find(threadId);
    return found == m_loops.end() ? nullptr : found->second;
}
