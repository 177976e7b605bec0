#pragma once
#include <windows.h>
#include <vector>

// Something that may take a message before it is translated and dispatched
// (accelerators, dialog navigation). Returns true when it took the message.
class ILoopMessageFilter {
public:
    virtual bool PreTranslateMessage(MSG* msg) = 0;
protected:
    ~ILoopMessageFilter() = default;
};

// Called once each time the thread's queue runs empty.
class IIdleHandler {
public:
    virtual void OnIdle(int idleCount) = 0;
protected:
    ~IIdleHandler() = default;
};

// The message pump of the user-interface thread, with message filters (the most
// recently added is asked first) and idle handlers (called in the order added).
class CMessageLoop {
public:
    void AddMessageFilter(ILoopMessageFilter* filter);
    void RemoveMessageFilter(ILoopMessageFilter* filter);
    void AddIdleHandler(IIdleHandler* handler);
    void RemoveIdleHandler(IIdleHandler* handler);

    // Pumps until WM_QUIT and returns its wParam.
    int Run();

    // Messages that arrive all the time without anything changing; they do not
    // start another idle round.
    static bool IsIdleMessage(const MSG& msg);

private:
    bool PreTranslateMessage(MSG* msg);
    void OnIdle(int idleCount);

    MSG m_msg{};
    std::vector<ILoopMessageFilter*> m_filters;
    std::vector<IIdleHandler*> m_idleHandlers;
};
