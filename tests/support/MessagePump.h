#pragma once
#include <windows.h>

#include <functional>

// Dispatches this thread's messages, through the dialog manager of dialog when one is
// given, until done() holds; false when timeoutMs passes first.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000, HWND dialog = nullptr);

// Dispatches the messages this thread has been sent or posted so far, and those they
// lead to, until its queue is empty: what has been asked is handled, and whatever should
// not happen would have.
void PumpPending();
