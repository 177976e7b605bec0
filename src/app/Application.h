#pragma once
#include <windows.h>
#include <map>
#include "scoped/ScopedHandles.h"
#include "ui/MainFrameHandle.h"

class CMessageLoop;

// The one process-wide object: the instance handle every resource is loaded from,
// and the table that tells each thread's code which message loop pumps for it.
class CApplication {
public:
    CApplication() = default;
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

    void Init(HINSTANCE hInstance);
    void Term();

    HINSTANCE Instance() const { return m_hInstance; }

    bool AddMessageLoop(CMessageLoop* loop);  // for the calling thread
    void RemoveMessageLoop();                 // of the calling thread
    CMessageLoop* GetMessageLoop(DWORD threadId = GetCurrentThreadId());

private:
    HINSTANCE m_hInstance = nullptr;
    CCriticalSection m_lock;
    std::map<DWORD, CMessageLoop*> m_loops;
};

extern CApplication g_app;
