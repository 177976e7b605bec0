// Plays the user's part in an interactive capture. DoCaptureModal blocks the thread
// that calls it, so the user's steps run from a timer on that same thread, inside the
// capture's own message loop, and work the overlay with real input (SendInput). The
// same thread matters under Wine: it then recognises the pointer warps it made itself
// and does not replay them late as moves.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>

#include "TimedSteps.h"

// One step of a script: true when done, false to be asked again on the next tick.
// A timer tick comes only when the thread has nothing else to do, so the input of one
// step has been handled when the next one runs.
using Step = std::function<bool()>;

// Real input, each as one step.
namespace Input {
Step MoveTo(POINT point);
Step LeftButton(bool down);
Step Click(POINT point);
Step RightClick();
Step Key(WORD virtualKey, int times = 1);
Step Wheel(int notches);
// Press at from, move to to in a few moves, release there.
Step Drag(POINT from, POINT to);
} // namespace Input

// Runs action once, as a step.
Step Do(std::function<void()> action);
// Waits until condition holds, or gives up after a while and moves on.
Step WaitUntil(std::function<bool()> condition);

class CCaptureDriver {
public:
    // Starts the script for the overlay that the calling thread is about to show: it
    // begins once the overlay is up and in the foreground. An overlay still up long
    // after the script has ended is closed, so that a script that fails to end the
    // capture fails its test instead of hanging it.
    CCaptureDriver(std::initializer_list<Step> script);

    // Stops the driver; whether the overlay came up and the whole script ran.
    bool Finish();

private:
    CTimedSteps m_steps;
};
