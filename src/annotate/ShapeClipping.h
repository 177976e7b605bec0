#pragma once
#include <vector>

#include "annotate/Annotation.h"
#include "annotate/AnnotationLayout.h"

// Curved shapes cut down to an area, in image pixels, so that a drawing hands GDI+ only
// straight lines near what it shows: GDI+ flattens a curve at the size it lands on the
// device, and a curve thousands of screens long can exhaust the stack doing so.

// The ellipse inside box as a polygon whose sides stray less than tolerance from it.
std::vector<ImagePoint> EllipsePolygon(const ImageRect& box, float tolerance);

// The part of a polygon inside area, as a polygon (empty when none is). Where the
// polygon leaves the area, the result runs along the area's edge.
std::vector<ImagePoint> ClipPolygon(const std::vector<ImagePoint>& polygon, const ImageRect& area);

// A chain of cubic Beziers (the first point, then three per curve), flattened to lines
// that stray less than tolerance from it, as the runs of it that lie in area: a curve
// wholly outside area ends a run.
std::vector<std::vector<ImagePoint>> BezierRunsInside(const std::vector<ImagePoint>& beziers, const ImageRect& area,
                                                      float tolerance);
