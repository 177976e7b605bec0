#include "annotate/AnnotationShapes.h"

#include <algorithm>
#include <cmath>

ArrowShape ArrowShapeOf(ImagePoint start, ImagePoint end, float width)
{
    const float dx = end.x - start.x;
    const float dy = end.y - start.y;
    const float length = std::sqrt(dx * dx + dy * dy);
    ArrowShape shape;
    shape.tip = shape.shaftEnd = shape.barbs[0] = shape.barbs[1] = end;
    if (length <= 0)
        return shape;
    const float headLength = std::min(3 * width + 8, length);
    shape.headHalfWidth = headLength * 0.5f;
    // Unit vectors along the arrow and across it.
    const float ux = dx / length, uy = dy / length;
    const ImagePoint base{end.x - ux * headLength, end.y - uy * headLength};
    shape.barbs[0] = ImagePoint{base.x - uy * shape.headHalfWidth, base.y + ux * shape.headHalfWidth};
    shape.barbs[1] = ImagePoint{base.x + uy * shape.headHalfWidth, base.y - ux * shape.headHalfWidth};
    // Where the head is still wider than the shaft.
    const float inside = headLength * 0.6f;
    shape.shaftEnd = ImagePoint{end.x - ux * inside, end.y - uy * inside};
    return shape;
}

std::vector<ImagePoint> StrokeBeziers(const std::vector<ImagePoint>& points)
{
    std::vector<ImagePoint> beziers;
    if (points.empty())
        return beziers;
    const size_t last = points.size() - 1;
    beziers.reserve(1 + 3 * last);
    beziers.push_back(points[0]);
    // The tangent at a point is half the chord of its neighbours (the ends use
    // themselves as their missing neighbour); a Bezier control point lies a third
    // of the tangent away.
    const auto control = [&](size_t at, size_t before, size_t after, float sign) {
        return ImagePoint{points[at].x + sign * (points[after].x - points[before].x) / 6,
                          points[at].y + sign * (points[after].y - points[before].y) / 6};
    };
    for (size_t i = 0; i < last; ++i) {
        beziers.push_back(control(i, i == 0 ? 0 : i - 1, i + 1, 1));
        beziers.push_back(control(i + 1, i, std::min(i + 2, last), -1));
        beziers.push_back(points[i + 1]);
    }
    return beziers;
}

float HighlighterWidth(const AnnotationStyle& style)
{
    return std::max(style.width * 4, 12.0f);
}

float TextBackgroundMargin(const AnnotationStyle& style)
{
    return std::max(2.0f, style.fontSize / 8);
}
