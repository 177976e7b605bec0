// Starts an interactive region capture the way the program does: snapcore.dll loaded
// from beside this program, a main window with a notification icon that, when its
// hotkey Ctrl+Shift+F9 is pressed, hides and calls DoCaptureModal. Whoever drives it
// from outside watches three files beside it: frame-up.txt once the hotkey is
// registered, overlay-up.txt once the overlay is on the screen, and capture-result.txt
// at the end, holding "cancelled", the captured width and height, or what went wrong.
#include <windows.h>

#include <string>

#include "HotkeyProbeWindow.h"
#include "snapcore.h"

namespace {

constexpr DWORD kDeadlineMs = 15000; // for the hotkey, and again for the capture
constexpr int kModeRegion = 2;

bool IsShown(HWND overlay)
{
    return IsWindowVisible(overlay) != FALSE;
}

std::string Capture(CHotkeyProbeWindow& frame, decltype(&DoCaptureModal) capture)
{
    std::string failure;
    if (!frame.AwaitHotkey(kDeadlineMs, failure))
        return failure;
    Sleep(300);
    HBITMAP bitmap = nullptr;
    const bool timedOut = RunWatched("SnapcoreCaptureOverlay", IsShown, "overlay-up.txt", kDeadlineMs,
                                     [&] { bitmap = capture(kModeRegion, nullptr, nullptr); });
    BITMAP shape{};
    const bool taken = bitmap && GetObjectA(bitmap, sizeof(shape), &shape);
    if (bitmap)
        DeleteObject(bitmap);
    if (timedOut)
        return "timed out: the keys did not reach the overlay";
    return taken ? std::to_string(shape.bmWidth) + " " + std::to_string(shape.bmHeight) : "cancelled";
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    const HMODULE engine = LoadLibraryA(Beside("snapcore.dll").c_str());
    const auto capture = reinterpret_cast<decltype(&DoCaptureModal)>(
        reinterpret_cast<void*>(engine ? GetProcAddress(engine, "DoCaptureModal") : nullptr));
    if (!capture) {
        Report("capture-result.txt", "no engine");
        return 1;
    }
    {
        CHotkeyProbeWindow frame(instance);
        Report("capture-result.txt", Capture(frame, capture));
    }
    FreeLibrary(engine);
    return 0;
}
