#ifndef SNAPCORE_CURSOROVERLAY_H
#define SNAPCORE_CURSOROVERLAY_H

#include <windows.h>

namespace snapcore {

// Draws the mouse pointer, with its current shape, where it is on the screen into dc,
// whose pixel (0, 0) shows the screen point origin. Nothing is drawn while the pointer
// is hidden.
void DrawCursor(HDC dc, POINT origin);

} // namespace snapcore

#endif
