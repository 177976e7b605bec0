#include "app/Application.h"

CApplication g_app;

namespace {
class CLock {
public:
    explicit CLock(CRITICAL_SECTION& section) : m_section(section) { EnterCriticalSection(&m_section); }
    ~CLock() { LeaveCriticalSection(&m_section); }
    CLock(const CLock&) = delete;
    CLock& operator=(const CLock&) = delete;
private:
    CRITICAL_SECTION& m_section;
};
}

CApplication::CApplication() { InitializeCriticalSection(&m_lock); }
CApplication::~CApplication() { DeleteCriticalSection(&m_lock); }

void CApplication::Init(HINSTANCE hInstance) { m_hInstance = hInstance; }

void CApplication::Term()
{
    CLock lock(m_lock);
    m_loops.clear();
}

bool CApplication::AddMessageLoop(CMessageLoop* loop)
{
    CLock lock(m_lock);
    return m_loops.emplace(GetCurrentThreadId(), loop).second;
}

void CApplication::RemoveMessageLoop()
{
    CLock lock(m_lock);
    m_loops.erase(GetCurrentThreadId());
}

CMessageLoop* CApplication::GetMessageLoop(DWORD threadId)
{
    CLock lock(m_lock);
    auto found = m_loops.find(threadId);
    return found == m_loops.end() ? nullptr : found->second;
}
