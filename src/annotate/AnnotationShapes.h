#pragma once
#include <vector>

#include "annotate/Annotation.h"

// The shapes the marks are drawn from, in image pixels, shared by their drawing and by
// the boxes their ink lies in.

// An arrow's head, a triangle with its tip on the end point, grows with the line width
// and shrinks to fit a short arrow; the shaft stops inside the head, so its square end
// never shows beside the tip.
struct ArrowShape {
    ImagePoint shaftEnd;
    ImagePoint tip;
    ImagePoint barbs[2];
    float headHalfWidth = 0;
};
ArrowShape ArrowShapeOf(ImagePoint start, ImagePoint end, float width);

// A freehand stroke as cubic Bezier points (the first point, then three per segment):
// the cardinal spline of tension 0.5 through every point. The curve lies within the
// box of these points.
std::vector<ImagePoint> StrokeBeziers(const std::vector<ImagePoint>& points);

// The highlighter is much wider than a line of the same width.
float HighlighterWidth(const AnnotationStyle& style);

// The margin of a text's background box around the laid-out text.
float TextBackgroundMargin(const AnnotationStyle& style);
