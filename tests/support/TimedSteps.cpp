#include "TimedSteps.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
// A timer callback carries no context but the timer's id.
thread_local std::vector<CTimedSteps*> t_running;
}

CTimedSteps::CTimedSteps(std::vector<Step> steps, DWORD timeoutMs, std::function<void()> onTimeout, UINT tickMs)
    : m_steps(std::move(steps)), m_onTimeout(std::move(onTimeout)), m_start(GetTickCount()), m_timeoutMs(timeoutMs),
      m_timer(SetTimer(nullptr, 0, tickMs, OnTimer))
{
    EXPECT_NE(0u, m_timer) << "no timer for the steps";
    t_running.push_back(this);
}

CTimedSteps::~CTimedSteps()
{
    Stop();
}

void CTimedSteps::Stop()
{
    if (m_timer)
        KillTimer(nullptr, m_timer);
    m_timer = 0;
    t_running.erase(std::remove(t_running.begin(), t_running.end(), this), t_running.end());
}

void CALLBACK CTimedSteps::OnTimer(HWND, UINT, UINT_PTR timer, DWORD)
{
    const auto found = std::find_if(t_running.begin(), t_running.end(),
                                    [timer](const CTimedSteps* steps) { return steps->m_timer == timer; });
    if (found != t_running.end())
        (*found)->Tick();
}

void CTimedSteps::Tick()
{
    if (m_timeoutMs != INFINITE && GetTickCount() - m_start > m_timeoutMs) {
        if (m_onTimeout)
            m_onTimeout();
        return;
    }
    if (m_next == m_steps.size() || (m_steps[m_next].ready && !m_steps[m_next].ready()))
        return;
    // Advance first: an action may start a nested loop in which the timer fires again.
    const Step& step = m_steps[m_next++];
    if (step.act)
        step.act();
}
