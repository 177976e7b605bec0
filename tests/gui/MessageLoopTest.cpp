#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/MessageLoop.h"
#include "ui/Window.h"

namespace {
const UINT WM_PROBE = WM_APP + 1;
using Log = std::vector<std::string>;

// A window that writes every probe, mouse move and timer it receives into the log.
class CRecordingWindow : public CWindow {
public:
    explicit CRecordingWindow(Log& log) : m_log(log)
    {
        WNDCLASSEXA wc{};
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "LoopTestWindow";
        RegisterClass(wc);
        Create("LoopTestWindow", "", WS_OVERLAPPED, 0, 0, 0, 10, 10, nullptr, nullptr);
    }
    ~CRecordingWindow() override { DestroyWindow(); }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        switch (msg) {
        case WM_PROBE:
            m_log.push_back("window " + std::to_string(wParam));
            return 0;
        case WM_MOUSEMOVE:
            m_log.push_back("mousemove");
            return 0;
        case WM_TIMER:
            KillTimer(Handle(), wParam);
            m_log.push_back("timer");
            return 0;
        }
        return DefaultProc(msg, wParam, lParam);
    }

private:
    Log& m_log;
};

class CNamedFilter : public ILoopMessageFilter {
public:
    CNamedFilter(Log& log, std::string name, WPARAM takes) : m_log(log), m_name(std::move(name)), m_takes(takes) {}
    bool PreTranslateMessage(MSG* msg) override
    {
        if (msg->message != WM_PROBE)
            return false;
        m_log.push_back(m_name + " " + std::to_string(msg->wParam));
        return msg->wParam == m_takes;
    }

private:
    Log& m_log;
    std::string m_name;
    WPARAM m_takes;
};

// Records each round and, in the rounds the test script gives, does something.
class CScriptedIdle : public IIdleHandler {
public:
    CScriptedIdle(Log& log, std::string name) : m_log(log), m_name(std::move(name)) {}
    void OnIdle(int idleCount) override
    {
        m_log.push_back(m_name + " idle " + std::to_string(idleCount));
        if (m_round < m_script.size() && m_script[m_round])
            m_script[m_round]();
        ++m_round;
    }
    std::vector<std::function<void()>> m_script;

private:
    Log& m_log;
    std::string m_name;
    size_t m_round = 0;
};
}

TEST(MessageLoop, FiltersAreAskedNewestFirstAndATakenMessageIsNotDispatched)
{
    Log log;
    CRecordingWindow window(log);
    CMessageLoop loop;
    CNamedFilter older(log, "older", 2), newer(log, "newer", 1);
    loop.AddMessageFilter(&older);
    loop.AddMessageFilter(&newer);
    CScriptedIdle idle(log, "idle");
    idle.m_script = {[] { PostQuitMessage(7); }};
    loop.AddIdleHandler(&idle);

    PostMessageA(window, WM_PROBE, 1, 0);
    PostMessageA(window, WM_PROBE, 2, 0);
    PostMessageA(window, WM_PROBE, 3, 0);
    EXPECT_EQ(loop.Run(), 7);

    EXPECT_EQ(log, (Log{"newer 1",                         // taken by the newest filter
                        "newer 2", "older 2",              // taken by the older one
                        "newer 3", "older 3", "window 3",  // nobody takes it: dispatched
                        "idle idle 0"}));
}

TEST(MessageLoop, OneIdleRoundPerEmptyQueueInTheOrderAdded)
{
    Log log;
    CRecordingWindow window(log);
    CMessageLoop loop;
    CScriptedIdle first(log, "first"), second(log, "second");
    HWND hWnd = window;
    first.m_script = {
        [&] { PostMessageA(hWnd, WM_PROBE, 1, 0); },
        [&] {
            // Mouse moves do not start another round; the timer does.
            PostMessageA(hWnd, WM_MOUSEMOVE, 0, 0);
            SetTimer(hWnd, 1, 50, nullptr);
        },
        [] { PostQuitMessage(3); },
    };
    loop.AddIdleHandler(&first);
    loop.AddIdleHandler(&second);

    EXPECT_EQ(loop.Run(), 3);
    EXPECT_EQ(log, (Log{"first idle 0", "second idle 0", "window 1",
                        "first idle 0", "second idle 0", "mousemove", "timer",
                        "first idle 0", "second idle 0"}));
}

TEST(MessageLoop, RemovedFiltersAndIdleHandlersAreNoLongerCalled)
{
    Log log;
    CRecordingWindow window(log);
    CMessageLoop loop;
    CNamedFilter filter(log, "filter", 1);
    CScriptedIdle kept(log, "kept"), removed(log, "removed");
    kept.m_script = {[] { PostQuitMessage(0); }};
    loop.AddMessageFilter(&filter);
    loop.AddIdleHandler(&removed);
    loop.AddIdleHandler(&kept);
    loop.RemoveMessageFilter(&filter);
    loop.RemoveIdleHandler(&removed);

    PostMessageA(window, WM_PROBE, 1, 0);
    EXPECT_EQ(loop.Run(), 0);
    EXPECT_EQ(log, (Log{"window 1", "kept idle 0"}));
}
