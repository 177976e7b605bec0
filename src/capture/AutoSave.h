#pragma once
#include <windows.h>

#include "capture/CaptureNames.h"

// Saves a capture into the save folder of save in its save type, under the
// first of its auto-save names (see MakeAutoSavePath) that no file has; path
// receives it. An existing file is never opened for writing. False when nothing was
// written: no folder, a missing or full folder, or every name taken.
bool AutoSaveCapture(HBITMAP bitmap, const SaveOptions& save, CaptureName& path);

// The same for a recording's GIF file, copied under the auto-save name with ".gif".
bool AutoSaveRecording(const char* recording, const SaveOptions& save, CaptureName& path);
