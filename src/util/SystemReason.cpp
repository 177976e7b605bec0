#include "util/SystemReason.h"

std::string SystemReason(DWORD dwError)
{
    char* text = nullptr;
    const DWORD dwLength =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, dwError, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason = dwLength ? std::string(text, dwLength) : std::to_string(dwError);
    LocalFree(text);
    // Trail bytes of double-byte characters are never below 0x40, so this cuts no character.
    while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' '))
        reason.pop_back();
    return reason;
}

