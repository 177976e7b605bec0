#include "ThreadWindows.h"
#include "gui/SnapcoreCaptureDriver.h"

#include "gui/SnapcoreScreenKit.h"

namespace {

constexpr UINT kTickMs = 15;
constexpr DWORD kWaitDeadlineMs = 2000;
constexpr DWORD kScriptDeadlineMs = 20000;

// The overlay is this thread's visible topmost window over the whole screen.
HWND FindOverlay()
{
    const RECT screen = VirtualScreen();
    return FindThreadWindow([&screen](HWND window) {
        RECT rect;
        return IsWindowVisible(window) && (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST)
               && GetWindowRect(window, &rect) && EqualRect(&rect, &screen);
    });
}

void SendMouse(DWORD flags, DWORD data = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = data;
    SendInput(1, &input, sizeof(input));
}

// The pointer is put in place directly (absolute input rounds to a 0..65535 scale) and
// a zero move then reports it as a hardware mouse move.
void PutPointer(POINT point)
{
    SetCursorPos(point.x, point.y);
    SendMouse(MOUSEEVENTF_MOVE);
}

} // namespace

Step Do(std::function<void()> action)
{
    return [action] {
        action();
        return true;
    };
}

Step WaitUntil(std::function<bool()> condition)
{
    DWORD start = 0;
    return [condition, start]() mutable {
        if (!start)
            start = GetTickCount();
        return condition() || GetTickCount() - start >= kWaitDeadlineMs;
    };
}

namespace Input {

Step MoveTo(POINT point)
{
    return Do([point] { PutPointer(point); });
}

Step LeftButton(bool down)
{
    return Do([down] { SendMouse(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP); });
}

Step Click(POINT point)
{
    return Do([point] {
        PutPointer(point);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        SendMouse(MOUSEEVENTF_LEFTUP);
    });
}

Step RightClick()
{
    return Do([] {
        SendMouse(MOUSEEVENTF_RIGHTDOWN);
        SendMouse(MOUSEEVENTF_RIGHTUP);
    });
}

Step Key(WORD virtualKey, int times)
{
    return Do([virtualKey, times] {
        for (int i = 0; i < times; ++i) {
            INPUT keys[2] = {};
            for (INPUT& key : keys) {
                key.type = INPUT_KEYBOARD;
                key.ki.wVk = virtualKey;
            }
            keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(2, keys, sizeof(INPUT));
        }
    });
}

Step Wheel(int notches)
{
    return Do([notches] { SendMouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(notches * WHEEL_DELTA)); });
}

Step Drag(POINT from, POINT to)
{
    return Do([from, to] {
        PutPointer(from);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        for (int step = 1; step <= 4; ++step)
            PutPointer(POINT{from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4});
        SendMouse(MOUSEEVENTF_LEFTUP);
    });
}

} // namespace Input

namespace {

// The script waits for the overlay; its own steps are ready once they are done.
std::vector<CTimedSteps::Step> OverlayScript(std::initializer_list<Step> script)
{
    // Keys go to the foreground window.
    std::vector<CTimedSteps::Step> steps{{[] {
        const HWND overlay = FindOverlay();
        return overlay && GetForegroundWindow() == overlay;
    }, nullptr}};
    for (const Step& step : script)
        steps.push_back({step, nullptr});
    return steps;
}

} // namespace

CCaptureDriver::CCaptureDriver(std::initializer_list<Step> script)
    : m_steps(OverlayScript(script), kScriptDeadlineMs,
              [] {
                  if (const HWND overlay = FindOverlay())
                      PostMessageA(overlay, WM_CLOSE, 0, 0);
              },
              kTickMs)
{
}

bool CCaptureDriver::Finish()
{
    m_steps.Stop();
    return m_steps.Finished();
}
