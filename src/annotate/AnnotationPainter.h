#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "annotate/Annotation.h"

// Where image pixels land on a device: device = image * zoom - offset, so that image
// pixel x covers the device pixels [x * zoom, (x + 1) * zoom) less the offset.
struct CanvasMapping {
    float zoom = 1;
    POINT offset{};
};

// Draws the marks (bottom to top) and then draft, when there is one, onto dc, which
// already shows the image through mapping (MM_TEXT, no viewport origin). The mosaics
// read their pixels from image, the document's own bitmap. Only marks whose ink meets
// clip (device pixels) are drawn, and nothing outside clip.
void PaintAnnotations(HDC dc, const CanvasMapping& mapping, const RECT& clip, HBITMAP image,
                      const std::vector<Annotation>& objects, const Annotation* draft = nullptr);

// The image with every mark drawn over it at 100%: a new 32-bit DIB section of the
// image's size, or null with the last error set. The image is left as it was.
HBITMAP FlattenAnnotations(HBITMAP image, const std::vector<Annotation>& objects);

// The box of whole image pixels that holds everything the mark paints: its line width,
// arrowhead, circle, text with its background, and the fringe of antialiasing.
RECT AnnotationInkBounds(const Annotation& object);

// The device pixels an image rectangle touches: what to invalidate for it.
RECT MapImageRectToDevice(const CanvasMapping& mapping, const RECT& image);

// The size of a text in image pixels when laid out in the style's font, one line per
// line of the text; an empty text is one line high and nothing wide. A text mark's
// second point is its first plus this.
ImagePoint MeasureAnnotationText(const std::wstring& text, const AnnotationStyle& style);
