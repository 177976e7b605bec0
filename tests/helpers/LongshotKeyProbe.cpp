// Looks at a long screenshot from outside, for the driver that types X keys into the
// display. "page" prints the tall page's arguments; "place" the rectangle to drag over it;
// "start" asks the running program for a long screenshot and waits up to 15 seconds for
// the engine's overlay to have the keyboard; "session" waits as long for the session to
// have it while capturing; "document" waits up to 30 seconds for the capture to open as a
// document shorter than the whole page, taken before automatic scrolling reached its end; "end" ends the program and the page.
// Each exits 0 when what it waits for happens, 1 with what went wrong.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "MarkedRegion.h"
#include "MessagePump.h"
#include "TallPicture.h"
#include "ThreadWindows.h"
#include "res/resource.h"

using namespace TallPicture;

namespace {
// Taller than automatic scrolling gets through before Enter comes.
constexpr int kRows = 20000, kWidth = 360, kViewRows = 600, kLeft = 40, kTop = 60;

HWND Frame() { return FindWindowA("LumigrabFrame", nullptr); }

int Documents()
{
    HWND tabs = FindWindowExA(Frame(), nullptr, WC_TABCONTROLA, nullptr);
    return tabs ? static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0)) : 0;
}

// The height of the newest document, copied to the clipboard; 0 when none comes.
int DocumentHeight()
{
    const DWORD sequence = GetClipboardSequenceNumber();
    PostMessageA(Frame(), WM_COMMAND, ID_EDIT_COPY, 0);
    const CBitmapOwner picture = MarkedRegion::ClipboardPictureAfter(sequence);
    BITMAP info{};
    return picture && GetObjectA(picture.get(), sizeof info, &info) ? info.bmHeight : 0;
}

bool End(const char* className)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(FindWindowA(className, nullptr), &processId);
    const HANDLE process = processId ? OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId) : nullptr;
    const bool ended = process && TerminateProcess(process, 0) && WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
    if (process)
        CloseHandle(process);
    return ended;
}
}  // namespace

int main(int argc, char** argv)
{
    const char* mode = argc == 2 ? argv[1] : "";
    if (std::strcmp(mode, "page") == 0) {
        std::printf("--wheel-only --rows %d --size %d %d --at %d %d\n", kRows, kWidth, kViewRows, kLeft, kTop);
        return 0;
    }
    if (std::strcmp(mode, "place") == 0) {
        std::printf("%d %d %d %d\n", kLeft, kTop, kLeft + kWidth, kTop + kHeaderRows + kViewRows + kFooterRows);
        return 0;
    }
    if (std::strcmp(mode, "start") == 0) {
        // A request that comes while the program is still starting is dropped: it is asked again.
        for (int attempt = 0; attempt < 3; ++attempt) {
            PostMessageA(Frame(), WM_COMMAND, ID_CAPTURE_LONGSHOT, 0);
            if (PumpUntil([] { return HasKeyboard("SnapcoreCaptureOverlay"); }, 5000))
                return 0;
        }
        std::puts("no overlay with the keyboard");
        return 1;
    }
    if (std::strcmp(mode, "session") == 0) {
        if (PumpUntil([] { return HasKeyboard("LumigrabLongshotFrame") && FindWindowA("LumigrabLongshotPreview", nullptr); },
                      15000))
            return 0;
        std::puts("no long screenshot with the keyboard");
        return 1;
    }
    if (std::strcmp(mode, "document") == 0) {
        if (!PumpUntil([] { return Documents() == 1 && !FindWindowA("LumigrabLongshotFrame", nullptr); }, 30000)) {
            std::puts("no document");
            return 1;
        }
        const int height = DocumentHeight();
        std::printf("a document of %d rows\n", height);
        return height > 0 && height < kHeaderRows + kRows + kFooterRows ? 0 : 1;
    }
    if (std::strcmp(mode, "end") == 0) {
        const bool programEnded = End("LumigrabFrame"), pageEnded = End("TallPageWindow");
        return programEnded && pageEnded ? 0 : 1;
    }
    return 2;
}
