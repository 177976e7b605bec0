#ifndef SNAPCORE_PRINTSCREENCAPTURE_H
#define SNAPCORE_PRINTSCREENCAPTURE_H

#include <windows.h>

namespace snapcore {

// Presses the PrintScreen key and copies the screenshot the system then puts on the
// clipboard into dc. dc is left alone when no new bitmap of exactly size arrives
// within a short time (the system may not take one, or may take only the active window).
void CopyPrintScreenImage(HDC dc, SIZE size);

} // namespace snapcore

#endif
