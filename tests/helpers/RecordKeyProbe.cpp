// Looks at a GIF recording from outside, for the driver that types X keys into the display.
// "start" asks the running program for a recording and waits up to 15 seconds for the
// engine's overlay to have the keyboard; "bar" waits as long for the recording's bar to be
// the foreground window; "cancelled" waits for the bar to go, then asks for the next
// recording, whose frozen screen shows only once the last one has ended, and finds no
// playback window; "playback" waits up to 20 seconds for the playback window; "end" ends
// the program. Each exits 0 when what it waits for happens, 1 with what went wrong.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "MessagePump.h"
#include "ThreadWindows.h"
#include "res/resource.h"

namespace {
HWND Frame() { return FindWindowA("LumigrabFrame", nullptr); }
HWND Bar() { return FindWindowA("LumigrabRecordBar", nullptr); }

// A request that comes while the program is still starting, or a capture is ending, is dropped: it is asked again.
bool FrozenScreenShows()
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        PostMessageA(Frame(), WM_COMMAND, ID_CAPTURE_RECORD_GIF, 0);
        if (PumpUntil([] { return HasKeyboard("SnapcoreCaptureOverlay"); }, 5000))
            return true;
    }
    std::puts("no overlay with the keyboard");
    return false;
}
}  // namespace

int main(int argc, char** argv)
{
    const char* mode = argc == 2 ? argv[1] : "";
    if (std::strcmp(mode, "start") == 0)
        return FrozenScreenShows() ? 0 : 1;
    if (std::strcmp(mode, "bar") == 0) {
        if (PumpUntil([] { return Bar() && GetForegroundWindow() == Bar(); }, 15000))
            return 0;
        std::puts("no recording bar in the foreground");
        return 1;
    }
    if (std::strcmp(mode, "cancelled") == 0) {
        if (!PumpUntil([] { return !Bar(); }, 15000)) {
            std::puts("the recording goes on");
            return 1;
        }
        if (!FrozenScreenShows())
            return 1;
        if (FindWindowA("LumigrabGifPlayback", nullptr)) {
            std::puts("a playback window after cancelling");
            return 1;
        }
        return 0;
    }
    if (std::strcmp(mode, "playback") == 0) {
        if (PumpUntil([] { return FindWindowA("LumigrabGifPlayback", nullptr) != nullptr; }, 20000))
            return 0;
        std::puts("no playback window");
        return 1;
    }
    if (std::strcmp(mode, "end") == 0) {
        DWORD processId = 0;
        GetWindowThreadProcessId(Frame(), &processId);
        const HANDLE process = processId ? OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId) : nullptr;
        const bool ended = process && TerminateProcess(process, 0) && WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
        if (process)
            CloseHandle(process);
        return ended ? 0 : 1;
    }
    return 2;
}
