#include "settings/MoreOptions.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {
const char kSection[] = "Options";
const char kCountdown[] = "Countdown";
const char kCopyAfterCapture[] = "CopyAfterCapture";
const char kNoDocumentAfterCapture[] = "NoDocumentAfterCapture";
const char kPinAfterCapture[] = "PinAfterCapture";
const char kLastRegionHotkey[] = "LastRegionHotkey";
const char kLastRegionKey[] = "LastRegionKey";
const char kLastRegionModifiers[] = "LastRegionModifiers";
const char kLastRegion[] = "LastRegion";
const char kDeskForAllCaptures[] = "ToolbarForAllCaptures";
const char kMarkupHotkey[] = "MarkupHotkey";
const char kMarkupKey[] = "MarkupKey";
const char kMarkupModifiers[] = "MarkupModifiers";
const char kLongshotMaxRows[] = "LongshotMaxRows";
const char kRecordFramesPerSecond[] = "RecordFramesPerSecond";
constexpr long kLongshotRowsLow = 100, kLongshotRowsHigh = 30000;

// The value of key; false when it is missing, or too long for the buffer: one that
// fills it may have been cut, and a cut value would read as another.
template <size_t N>
bool ReadValue(const char* iniPath, const char* key, char (&text)[N])
{
    const DWORD length = GetPrivateProfileStringA(kSection, key, "", text, N, iniPath);
    return length > 0 && length < N - 1;
}

// One decimal number of 32 bits at text, ended by end (the next character); anything
// else (empty, other characters, past 32 bits) is no number.
bool ParseNumber(const char*& text, char end, long& value)
{
    char* after = nullptr;
    errno = 0;
    const long long read = std::strtoll(text, &after, 10);
    if (after == text || *after != end || errno != 0 || read < INT32_MIN || read > INT32_MAX)
        return false;
    value = static_cast<long>(read);
    text = after + (end ? 1 : 0);
    return true;
}

// A stored number within [low, high]; false keeps the caller's default.
bool ReadNumber(const char* iniPath, const char* key, long low, long high, long& value)
{
    char text[32] = {};
    long read = 0;
    const char* next = text;
    if (!ReadValue(iniPath, key, text) || !ParseNumber(next, '\0', read) || read < low || read > high)
        return false;
    value = read;
    return true;
}

void ReadFlag(const char* iniPath, const char* key, int32_t& flag)
{
    long value = 0;
    if (ReadNumber(iniPath, key, 0, 1, value))
        flag = static_cast<int32_t>(value);
}

// The hotkey control knows the low byte of a key and four modifier bits; a hotkey with
// only half of what it needs is no hotkey, and keeps the keys it came with.
void ReadHotkey(const char* iniPath, const char* const (&keys)[3], int32_t& enabled, uint16_t& key, uint16_t& modifiers)
{
    ReadFlag(iniPath, keys[0], enabled);
    long readKey = 0;
    long readModifiers = 0;
    if (ReadNumber(iniPath, keys[1], 1, 0xFF, readKey) && ReadNumber(iniPath, keys[2], 0, 0xF, readModifiers)) {
        key = static_cast<uint16_t>(readKey);
        modifiers = static_cast<uint16_t>(readModifiers);
    } else {
        enabled = 0;
    }
}

bool ReadRegion(const char* iniPath, RECT& region)
{
    char text[64] = {};
    if (!ReadValue(iniPath, kLastRegion, text))
        return false;
    const char* next = text;
    RECT read{};
    if (!ParseNumber(next, ',', read.left) || !ParseNumber(next, ',', read.top) ||
        !ParseNumber(next, ',', read.right) || !ParseNumber(next, '\0', read.bottom) || read.right <= read.left ||
        read.bottom <= read.top)
        return false;
    region = read;
    return true;
}

bool WriteNumber(const char* iniPath, const char* key, long value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%ld", value);
    return WritePrivateProfileStringA(kSection, key, text, iniPath) != FALSE;
}
}  // namespace

bool IsRecordingRate(int framesPerSecond)
{
    for (const int rate : kRecordingRates)
        if (rate == framesPerSecond)
            return true;
    return false;
}

void LoadMoreOptions(MoreOptions& options, const char* iniPath)
{
    options = MoreOptions();
    long countdown = 0;
    if (ReadNumber(iniPath, kCountdown, 0, 10, countdown) &&
        (countdown == 0 || countdown == 3 || countdown == 5 || countdown == 10))
        options.m_nCountdownSeconds = static_cast<int32_t>(countdown);
    ReadFlag(iniPath, kCopyAfterCapture, options.m_bCopyAfterCapture);
    ReadFlag(iniPath, kNoDocumentAfterCapture, options.m_bNoDocumentAfterCapture);
    ReadFlag(iniPath, kPinAfterCapture, options.m_bPinAfterCapture);
    ReadFlag(iniPath, kDeskForAllCaptures, options.m_bDeskForAllCaptures);
    ReadHotkey(iniPath, {kLastRegionHotkey, kLastRegionKey, kLastRegionModifiers}, options.m_bLastRegionHotkey,
               options.m_wLastRegionKey, options.m_wLastRegionMods);
    ReadHotkey(iniPath, {kMarkupHotkey, kMarkupKey, kMarkupModifiers}, options.m_bMarkupHotkey, options.m_wMarkupKey,
               options.m_wMarkupMods);
    long longshotRows = 0;
    if (ReadNumber(iniPath, kLongshotMaxRows, kLongshotRowsLow, kLongshotRowsHigh, longshotRows))
        options.m_nLongshotMaxRows = static_cast<int32_t>(longshotRows);
    long rate = 0;
    if (ReadNumber(iniPath, kRecordFramesPerSecond, 5, 30, rate) && IsRecordingRate(static_cast<int>(rate)))
        options.m_nRecordFramesPerSecond = static_cast<int32_t>(rate);
    options.m_bHasLastRegion = ReadRegion(iniPath, options.m_rcLastRegion) ? 1 : 0;
}

bool SaveMoreOptions(const MoreOptions& options, const char* iniPath)
{
    char region[64] = "";
    if (options.m_bHasLastRegion)
        std::snprintf(region, sizeof region, "%ld,%ld,%ld,%ld", options.m_rcLastRegion.left,
                      options.m_rcLastRegion.top, options.m_rcLastRegion.right, options.m_rcLastRegion.bottom);
    return WriteNumber(iniPath, kCountdown, options.m_nCountdownSeconds) &&
           WriteNumber(iniPath, kCopyAfterCapture, options.m_bCopyAfterCapture) &&
           WriteNumber(iniPath, kNoDocumentAfterCapture, options.m_bNoDocumentAfterCapture) &&
           WriteNumber(iniPath, kPinAfterCapture, options.m_bPinAfterCapture) &&
           WriteNumber(iniPath, kLastRegionHotkey, options.m_bLastRegionHotkey) &&
           WriteNumber(iniPath, kLastRegionKey, options.m_wLastRegionKey) &&
           WriteNumber(iniPath, kLastRegionModifiers, options.m_wLastRegionMods) &&
           WriteNumber(iniPath, kDeskForAllCaptures, options.m_bDeskForAllCaptures) &&
           WriteNumber(iniPath, kMarkupHotkey, options.m_bMarkupHotkey) &&
           WriteNumber(iniPath, kMarkupKey, options.m_wMarkupKey) &&
           WriteNumber(iniPath, kMarkupModifiers, options.m_wMarkupMods) &&
           WriteNumber(iniPath, kLongshotMaxRows, options.m_nLongshotMaxRows) &&
           WriteNumber(iniPath, kRecordFramesPerSecond, options.m_nRecordFramesPerSecond) &&
           WritePrivateProfileStringA(kSection, kLastRegion, region, iniPath) != FALSE;
}
