#pragma once
#include <windows.h>

#include <cstdint>

#include "settings/Settings.h"

// Captures that gave a bitmap during this run; the first one makes it 1.
extern int32_t g_nCaptureCount;

// The names a new capture document gets, from the save options of a capture (those of
// g_settings unless it took its own).
constexpr int kCaptureNameSize = 520;
using CaptureName = char[kCaptureNameSize];

// "<prefix><count>*": a capture that has no file; the star marks it never saved.
void MakeUnsavedCaptureName(CaptureName& name, const SaveOptions& save = g_settings);

// The auto-save path of a capture taken at time (UTC): the save folder, one
// backslash, the prefix, then year, month, day, hour, minute and second in decimal
// without padding, and the save type's extension. copy 1 is that name; copies from 2
// on put "-<copy>" before the extension, since the digits repeat within a second
// (and for dates such as 11 January and 1 November). extension (no dot), when given,
// replaces the save type's. False when there is no folder, the save type is unknown or
// the path does not fit.
bool MakeAutoSavePath(const SYSTEMTIME& time, int copy, CaptureName& path, const SaveOptions& save = g_settings,
                      const char* extension = nullptr);

// A free name for a recording being made, in the folder Lumigrab of the temporary folder
// (made when missing), named as its auto-saved copy would be now; a file pasted from
// there carries a name the user knows. False with the reason as the last error.
bool MakeRecordingTempPath(const SaveOptions& save, CaptureName& path);
// Removes the files in that folder written more than a day ago: recordings left by a run
// that ended without closing their playback (or its half-written temporaries), or kept for
// a paste that has long come.
void RemoveStaleRecordings();
