#pragma once
#include <windows.h>

#include "record/FrameTimeline.h"
#include "record/RecordingSink.h"
#include "settings/Settings.h"

enum class RecordingEnd { kCancelled, kStopped, kTimeLimit, kSizeLimit, kFailed };

struct RecordingResult {
    RecordingEnd end = RecordingEnd::kCancelled;
    DWORD error = 0;       // kFailed: the reason (a failed grab, or the sink's Error())
    int frames = 0;        // frames handed to the sink
    DWORD durationMs = 0;  // recorded time, pauses left out
};

// Records selection (screen coordinates, the live screen) into sink until 停止/Enter, Esc
// (kCancelled: the caller drops the sink without Finish), limitMs of recorded time, or the sink
// refusing a frame (kSizeLimit when its Error() is 0). Calls sink.Finish itself for every end
// but kCancelled and kFailed. settings.m_bIncludeCursor draws the pointer into the frames;
// the control bar's frame rate starts at settings.m_nRecordFramesPerSecond and a change on the
// bar is written back there. A border just outside the selection and the control bar beside
// it are in no frame.
RecordingResult RunRecording(const RECT& selection, CSettings& settings, IRecordingSink& sink,
                             DWORD limitMs = kRecordingTimeLimitMs);
