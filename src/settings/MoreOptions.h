#pragma once
#include <windows.h>

#include <cstdint>

// The options the program adds to its specified ones, on the 更多 page. They are kept
// in the [Options] section of lumigrab.ini next to the executable, never in
// lumigrab.cfg, whose format stays as it is. At their defaults every capture behaves
// as the specified program's does.
struct MoreOptions {
    int32_t m_nCountdownSeconds = 0;        // 0 (none), 3, 5 or 10 before every capture
    int32_t m_bCopyAfterCapture = 0;
    int32_t m_bNoDocumentAfterCapture = 0;  // counts only with auto-save or copying on
    int32_t m_bPinAfterCapture = 0;
    // Window, region and object captures end in the capture desk, as capture-and-mark-up does.
    int32_t m_bDeskForAllCaptures = 0;
    int32_t m_bLastRegionHotkey = 0;
    uint16_t m_wLastRegionKey = 0;
    uint16_t m_wLastRegionMods = 0;  // hotkey-control form (1 Shift, 2 Ctrl, 4 Alt, 8 extended)
    // Capture-and-mark-up's hotkey comes with its keys, Ctrl+F7, and waits to be turned on.
    int32_t m_bMarkupHotkey = 0;
    uint16_t m_wMarkupKey = VK_F7;
    uint16_t m_wMarkupMods = 2;
    // The long screenshot stops at this height; the size limit for pictures may stop it sooner.
    int32_t m_nLongshotMaxRows = 30000;
    // Frames a second a GIF recording takes: 5, 10, 15, 20 or 30, chosen on its control bar.
    int32_t m_nRecordFramesPerSecond = 10;
    int32_t m_bHasLastRegion = 0;
    RECT m_rcLastRegion{};  // the last region capture, in virtual-screen pixels
};

// The frame rates a GIF recording offers, slowest first.
constexpr int kRecordingRates[] = {5, 10, 15, 20, 30};
bool IsRecordingRate(int framesPerSecond);

// Reads the [Options] section of the file; a missing file, or a value missing, damaged
// or out of range, gives the default.
void LoadMoreOptions(MoreOptions& options, const char* iniPath);
// Writes every value; false with the reason as the last error.
bool SaveMoreOptions(const MoreOptions& options, const char* iniPath);
