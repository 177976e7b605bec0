#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// The playback window's line about a recording: its size in bytes with thousands
// separators, its frames, and its length in seconds to the tenth.
std::string PlaybackInfoText(uint64_t bytes, int frames, DWORD durationMs);
