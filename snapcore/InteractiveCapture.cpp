#include "InteractiveCapture.h"

#include <atomic>

#include "DpiAwarenessScope.h"
#include "FrozenScreen.h"
#include "Magnifier.h"

namespace snapcore {
namespace {

std::atomic<bool> g_bCapturing{false};

struct CapturingFlagReset {
    ~CapturingFlagReset() { g_bCapturing = false; }
};

// Runs the overlay on a frozen screen and, when the user picked something, makes the
// result with take(screen, chosen) once the overlay and its buffers are gone.
template <typename Take>
HBITMAP RunCapture(SelectionMode mode, const CaptureOptions& options, AuxWindowOptions* aux, Take take)
{
    if (g_bCapturing.exchange(true))
        return nullptr;
    const CapturingFlagReset reset;
    const CDpiAwarenessScope physicalPixels;
    CMagnifier magnifier(aux);
    HBITMAP captured = nullptr;
    {
        CFrozenScreen screen(options);
        RECT chosen;
        if (screen.IsValid() && CCaptureOverlay(mode, screen, magnifier).Run(&chosen))
            captured = take(screen, chosen);
    }
    magnifier.Store(aux);
    return captured;
}

} // namespace

HBITMAP CaptureInteractively(SelectionMode mode, const CaptureOptions& options, AuxWindowOptions* aux)
{
    return RunCapture(mode, options, aux, [](const CFrozenScreen& screen, const RECT& chosen) {
        return screen.Copy(chosen);
    });
}

HBITMAP SelectInteractively(SelectionMode mode, const CaptureOptions& options, AuxWindowOptions* aux, RECT* chosen)
{
    return RunCapture(mode, options, aux, [chosen](CFrozenScreen& screen, const RECT& picked) {
        HBITMAP frame = screen.TakeImage();
        if (frame)
            *chosen = picked;
        return frame;
    });
}

} // namespace snapcore
