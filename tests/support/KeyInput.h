#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

// Presses the keys in order and releases them in reverse, as one input sequence, the
// way a user's chord reaches the focused window.
inline void PressKeys(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = keys.end(); key != keys.begin();) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *--key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Types text of the ANSI code page into the focused window, character by character,
// as a keyboard that sends each character's code would.
inline void TypeText(const std::string& text)
{
    std::vector<WCHAR> wide(text.size() + 1);
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    std::vector<INPUT> inputs;
    for (int i = 0; i + 1 < length; ++i)
        for (DWORD flags : {DWORD(KEYEVENTF_UNICODE), DWORD(KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = wide[i];
            input.ki.dwFlags = flags;
            inputs.push_back(input);
        }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}
