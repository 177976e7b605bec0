// The window of known pixels the X-level check of capture and mark up works over.
// "place" prints the region to drag and the marks to draw, in screen coordinates, for
// the driver; "overlay" and "desk" wait up to 15 seconds for the engine's overlay or the
// capture desk to have the keyboard, and exit 0 when it has; "check" shows the window and waits up to a minute for the clipboard to
// change, then exits 0 when it holds the region with its marks, 1 with what is wrong.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "MarkedRegion.h"
#include "MessagePump.h"
#include "QuartersWindow.h"
#include "ThreadWindows.h"

using namespace MarkedRegion;

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "place") == 0) {
        std::printf("%ld %ld %ld %ld %ld %ld %ld %ld %ld %ld %ld %ld\n", kRegion.left, kRegion.top, kRegion.right,
                    kRegion.bottom, kBox.left, kBox.top, kBox.right, kBox.bottom, kArrowFrom.x, kArrowFrom.y,
                    kArrowTo.x, kArrowTo.y);
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "overlay") == 0 || std::strcmp(argv[1], "desk") == 0)) {
        const char* className = argv[1][0] == 'o' ? "SnapcoreCaptureOverlay" : "LumigrabCaptureDesk";
        return PumpUntil([&] { return HasKeyboard(className); }, 15000) ? 0 : 1;
    }
    if (argc != 2 || std::strcmp(argv[1], "check") != 0)
        return 2;
    const CQuartersWindow quarters(kPlace, kQuarters);
    if (!quarters.Shown()) {
        std::puts("the window of known pixels did not show");
        return 1;
    }
    SetWindowTextA(quarters.Handle(), "markup-probe");
    const DWORD sequence = GetClipboardSequenceNumber();
    const std::string faults = PictureFaults(ClipboardPictureAfter(sequence, 60000).get(), kRegion, true);
    std::puts(faults.empty() ? "the clipboard holds the region with its marks" : faults.c_str());
    return faults.empty() ? 0 : 1;
}
