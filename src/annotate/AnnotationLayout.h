#pragma once
#include <vector>

#include "annotate/Annotation.h"

// Where marks lie and how they move, in image pixels; no window and no drawing.

struct ImageRect {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
};

// The box between two opposite corners, whichever way they were dragged.
ImageRect BoxBetween(ImagePoint a, ImagePoint b);
// The smallest box holding both.
ImageRect Union(const ImageRect& a, const ImageRect& b);
// The smallest box holding every one of points, which must not be empty.
ImageRect BoxOfPoints(const std::vector<ImagePoint>& points);
// The box grown to whole image pixels: the near edges rounded down, the far ones up.
RECT SnapOutward(const ImageRect& box);

// The box a mark's points span, normalised (left <= right, top <= bottom); a step
// number's is its circle's.
ImageRect AnnotationBox(const Annotation& object);
// True for the kinds whose points are two opposite corners of a box.
bool IsBoxKind(AnnotationKind kind);

// The topmost mark under point, or -1. tolerance (in image pixels) widens thin lines
// and outlines, so that the same screen distance hits at every zoom.
int HitTestAnnotations(const std::vector<Annotation>& objects, ImagePoint point, float tolerance);
// The marks whose boxes lie wholly inside the rectangle.
std::vector<size_t> AnnotationsInside(const std::vector<Annotation>& objects, const ImageRect& area);

// The resize handles of a mark: eight for a box (corners and edge middles, clockwise
// from the top-left), two for a line or arrow (its ends), none for the others.
std::vector<ImagePoint> AnnotationHandles(const Annotation& object);
// The mark with handle index dragged to point.
Annotation ResizedAnnotation(const Annotation& object, int handle, ImagePoint point);
Annotation MovedAnnotation(const Annotation& object, float dx, float dy);

// The end of a drag from start to end while Shift is held: lines and arrows turn to a
// multiple of 45 degrees, boxes become squares (for ellipses, circles).
ImagePoint SnappedEnd(AnnotationKind kind, ImagePoint start, ImagePoint end);

// The box grown to whole pixels (SnapOutward) and cut to an image of width x height.
RECT PixelBox(const ImageRect& box, int width, int height);
