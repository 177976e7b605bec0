// Shows the capture desk the way the program does: a main window with a notification
// icon that, when its hotkey Ctrl+Shift+F9 is pressed, hides and runs the desk over a
// frame of the whole screen with the selection (100, 100)-(300, 250). Whoever drives it
// from outside watches three files beside it: frame-up.txt once the hotkey is
// registered, desk-up.txt once the desk has the keyboard, and desk-result.txt at the
// end: "cancelled", or "copy", the selection and the number of marks, or what went wrong.
#include <windows.h>

#include <string>

#include "HotkeyProbeWindow.h"
#include "annotate/AnnotationTools.h"
#include "capture/desk/CaptureDesk.h"
#include "imageio/TopDownDib.h"

namespace {
constexpr DWORD kDeadlineMs = 15000;  // for the hotkey, and again for the desk

bool HasFocus(HWND desk)
{
    return GetFocus() == desk;
}

std::string RunDesk(CHotkeyProbeWindow& frame)
{
    std::string failure;
    if (!frame.AwaitHotkey(kDeadlineMs, failure))
        return failure;
    DWORD* pixels = nullptr;
    const CBitmapOwner screen =
        CreateTopDownDib(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), pixels);
    CAnnotationTools tools;
    CSettings settings;
    DeskResult result;
    // A desk nobody ends is closed, which cancels it.
    const bool timedOut = RunWatched("LumigrabCaptureDesk", HasFocus, "desk-up.txt", kDeadlineMs, [&] {
        result = RunCaptureDesk(screen.get(), POINT{0, 0}, RECT{100, 100, 300, 250}, tools, settings);
    });
    if (timedOut)
        return "timed out: the keys did not reach the desk";
    if (result.action == DeskAction::kCancelled)
        return "cancelled";
    const RECT& r = result.rcSelection;
    return (result.action == DeskAction::kCopy ? "copy " : "other ") + std::to_string(r.left) + " " +
           std::to_string(r.top) + " " + std::to_string(r.right) + " " + std::to_string(r.bottom) + " marks " +
           std::to_string(result.marks.size());
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CHotkeyProbeWindow frame(instance);
    Report("desk-result.txt", RunDesk(frame));
    return 0;
}
