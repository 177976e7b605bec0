#ifndef SNAPCORE_INTERACTIVECAPTURE_H
#define SNAPCORE_INTERACTIVECAPTURE_H

#include "CaptureOverlay.h"
#include "snapcore.h"

namespace snapcore {

// Both freeze the screen and let the user pick a window, region or object on it; they
// return null when the user cancelled. The magnifier's final magnification and skin go
// back into aux either way. A capture started while another is running (from a message
// dispatched meanwhile) returns null.

// The picked part as a new caller-owned bitmap.
HBITMAP CaptureInteractively(SelectionMode mode, const CaptureOptions& options, AuxWindowOptions* aux);

// The whole frozen screen, handed over, and in chosen the picked part.
HBITMAP SelectInteractively(SelectionMode mode, const CaptureOptions& options, AuxWindowOptions* aux, RECT* chosen);

} // namespace snapcore

#endif
