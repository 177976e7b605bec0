#include "document/PlaybackInfoText.h"

#include <cstdio>

#include "res/resource.h"
#include "util/FastString.h"

namespace {
std::string Grouped(uint64_t number)
{
    std::string digits = std::to_string(number);
    for (size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, ',');
    return digits;
}
}

std::string PlaybackInfoText(uint64_t bytes, int frames, DWORD durationMs)
{
    const DWORD tenths = (durationMs + 50) / 100;
    const std::string seconds = std::to_string(tenths / 10) + '.' + std::to_string(tenths % 10);
    Vorn::CFastString<128> format;
    format.LoadString(IDS_PLAYBACK_INFO);
    char text[256];
    std::snprintf(text, sizeof text, format.GetString(), Grouped(bytes).c_str(), frames, seconds.c_str());
    return text;
}
