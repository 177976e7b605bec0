#pragma once
#include <windows.h>

#include <functional>
#include <vector>

// Steps run one after another from a timer on this thread, so they also run inside the
// modal loops (menus, dialogs, message boxes) that the thread enters. Each step waits
// until its condition holds, then acts. Once the deadline has passed no step runs any
// more and onTimeout runs on every tick instead, by default ending the open menu, so
// that the test goes on and fails. Any number may run at the same time.
class CTimedSteps {
public:
    struct Step {
        std::function<bool()> ready; // none: ready at once
        std::function<void()> act;   // none: nothing more to do
    };

    explicit CTimedSteps(std::vector<Step> steps, DWORD timeoutMs = 5000,
                         std::function<void()> onTimeout = [] { EndMenu(); }, UINT tickMs = 20);
    ~CTimedSteps();
    CTimedSteps(const CTimedSteps&) = delete;
    CTimedSteps& operator=(const CTimedSteps&) = delete;

    // Ends the ticks for good.
    void Stop();
    size_t StepsTaken() const { return m_next; }
    bool Finished() const { return m_next == m_steps.size(); }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD);
    void Tick();

    std::vector<Step> m_steps;
    size_t m_next = 0;
    std::function<void()> m_onTimeout;
    DWORD m_start;
    DWORD m_timeoutMs; // INFINITE: no deadline
    UINT_PTR m_timer;
};
