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

} // namespace

HBITMAP CaptureInteractively(SelectionMode mode, const CaptureOptions& options, AuxWindowOptions* aux)
{
    if (g_bCapturing.exchange(true))
        return nullptr;
    const CapturingFlagReset reset;
    const CDpiAwarenessScope physicalPixels;
    CMagnifier magnifier(aux);
    HBITMAP captured = nullptr;
    {
        const CFrozenScreen screen(options);
        RECT chosen;
        if (screen.IsValid() && CCaptureOverlay(mode, screen, magnifier).Run(&chosen))
            captured = screen.Copy(chosen);
    }
    magnifier.Store(aux);
    return captured;
}

} // namespace snapcore
