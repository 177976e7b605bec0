#ifndef SNAPCORE_INTERACTIVECAPTURE_H
#define SNAPCORE_INTERACTIVECAPTURE_H

#include "CaptureOverlay.h"
#include "snapcore.h"

namespace snapcore {

// Freezes the screen, lets the user pick a window, region or object on it and returns
// the picked part as a new caller-owned bitmap, or null when they cancelled. The
// magnifier's final magnification and skin go back into aux either way. A capture
// started while another is running (from a message dispatched meanwhile) returns null.
HBITMAP CaptureInteractively(SelectionMode mode, const CaptureOptions& options, AuxWindowOptions* aux);

} // namespace snapcore

#endif
