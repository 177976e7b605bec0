#include "util/TruncateText.h"

#include <windows.h>

std::string TruncateToWholeChars(const char* text, size_t maxBytes)
{
    const char* end = text;
    while (*end) {
        const char* next = CharNextA(end);
        if (static_cast<size_t>(next - text) > maxBytes)
            break;
        end = next;
    }
    return std::string(text, static_cast<size_t>(end - text));
}
