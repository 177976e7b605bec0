#pragma once
#include <windows.h>

#include <optional>
#include <vector>

#include "annotate/Annotation.h"
#include "annotate/AnnotationLayout.h"
#include "annotate/AnnotationPainter.h"

// What shows over the marks that stay put while the user works, in image pixels.
struct AnnotationOverlay {
    std::vector<Annotation> live;              // marks being moved or resized, where they show now
    const Annotation* draft = nullptr;         // the mark being drawn
    std::vector<ImageRect> selected;           // the boxes of the selected marks as they show
    std::vector<ImagePoint> handles;           // the handles of a mark selected alone
    std::optional<ImageRect> band;             // the rubber band of a selecting drag
    std::optional<ImageRect> cropFrame;
};

// Draws the overlay onto dc, which shows the image through mapping as for
// PaintAnnotations: the live marks and the draft (inside marksClip only, as the marks
// show only over the picture; the mosaics read image), then a dashed frame a little
// outside each selected box, the handles as squares of handleSize device pixels, the
// band and the crop frame.
void PaintAnnotationOverlay(HDC dc, const CanvasMapping& mapping, const RECT& marksClip, HBITMAP image,
                            const AnnotationOverlay& overlay, int handleSize);
