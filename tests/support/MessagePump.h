#pragma once
#include <windows.h>

#include <functional>

// Dispatches this thread's messages, through the dialog manager of dialog when one is
// given, until done() holds; false when timeoutMs passes first.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000, HWND dialog = nullptr);

// Dispatches this thread's messages for the given time.
void PumpFor(DWORD milliseconds);
