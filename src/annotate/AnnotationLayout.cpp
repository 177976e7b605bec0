#include "annotate/AnnotationLayout.h"

#include <algorithm>
#include <cmath>

namespace {
float DistanceToSegment(ImagePoint p, ImagePoint a, ImagePoint b)
{
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float length = dx * dx + dy * dy;
    float t = length > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length : 0;
    t = std::clamp(t, 0.0f, 1.0f);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

bool Inside(const ImageRect& box, ImagePoint p, float margin)
{
    return p.x >= box.left - margin && p.x <= box.right + margin && p.y >= box.top - margin &&
           p.y <= box.bottom + margin;
}

bool HitsPolyline(const std::vector<ImagePoint>& points, ImagePoint p, float reach)
{
    if (points.size() == 1)
        return std::hypot(p.x - points[0].x, p.y - points[0].y) <= reach;
    for (size_t i = 1; i < points.size(); ++i) {
        if (DistanceToSegment(p, points[i - 1], points[i]) <= reach)
            return true;
    }
    return false;
}

bool HitsEllipse(const ImageRect& box, ImagePoint p, float reach, bool filled)
{
    const float rx = (box.right - box.left) / 2, ry = (box.bottom - box.top) / 2;
    const float cx = box.left + rx, cy = box.top + ry;
    if (rx <= reach || ry <= reach)
        return Inside(box, p, reach);
    // The distance from the outline along the ray from the centre, good enough near it.
    const float nx = (p.x - cx) / rx, ny = (p.y - cy) / ry;
    const float r = std::sqrt(nx * nx + ny * ny);
    if (filled && r <= 1)
        return true;
    const float scale = std::min(rx, ry);
    return std::fabs(r - 1) * scale <= reach;
}

bool Hits(const Annotation& object, ImagePoint p, float tolerance)
{
    const float reach = object.style.width / 2 + tolerance;
    const ImageRect box = AnnotationBox(object);
    const bool filled = object.style.fill != AnnotationFill::kNone;
    switch (object.kind) {
    case AnnotationKind::kArrow:
    case AnnotationKind::kLine:
    case AnnotationKind::kPen:
        return HitsPolyline(object.points, p, reach);
    case AnnotationKind::kHighlighter:
        return HitsPolyline(object.points, p, std::max(object.style.width * 2, 6.0f) + tolerance);
    case AnnotationKind::kRectangle:
        return Inside(box, p, reach) && (filled || !Inside(box, p, -reach));
    case AnnotationKind::kEllipse:
        return HitsEllipse(box, p, reach, filled);
    case AnnotationKind::kText:
    case AnnotationKind::kStep:
    case AnnotationKind::kRedact:
    case AnnotationKind::kMosaic:
        return Inside(box, p, tolerance);
    }
    return false;
}
}

ImageRect BoxBetween(ImagePoint a, ImagePoint b)
{
    return ImageRect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

ImageRect Union(const ImageRect& a, const ImageRect& b)
{
    return ImageRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                     std::max(a.bottom, b.bottom)};
}

ImageRect BoxOfPoints(const std::vector<ImagePoint>& points)
{
    ImageRect box = BoxBetween(points.front(), points.front());
    for (const ImagePoint& point : points)
        box = Union(box, BoxBetween(point, point));
    return box;
}

RECT SnapOutward(const ImageRect& box)
{
    return RECT{static_cast<LONG>(std::floor(box.left)), static_cast<LONG>(std::floor(box.top)),
                static_cast<LONG>(std::ceil(box.right)), static_cast<LONG>(std::ceil(box.bottom))};
}

bool IsBoxKind(AnnotationKind kind)
{
    return kind == AnnotationKind::kRectangle || kind == AnnotationKind::kEllipse || kind == AnnotationKind::kRedact ||
           kind == AnnotationKind::kMosaic;
}

ImageRect AnnotationBox(const Annotation& object)
{
    if (object.points.empty())
        return ImageRect{};
    if (object.kind == AnnotationKind::kStep) {
        const float r = StepRadius(object.style);
        const ImagePoint c = object.points[0];
        return ImageRect{c.x - r, c.y - r, c.x + r, c.y + r};
    }
    return BoxOfPoints(object.points);
}

int HitTestAnnotations(const std::vector<Annotation>& objects, ImagePoint point, float tolerance)
{
    for (size_t i = objects.size(); i-- > 0;) {
        if (Hits(objects[i], point, tolerance))
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<size_t> AnnotationsInside(const std::vector<Annotation>& objects, const ImageRect& area)
{
    std::vector<size_t> inside;
    for (size_t i = 0; i < objects.size(); ++i) {
        const ImageRect box = AnnotationBox(objects[i]);
        if (box.left >= area.left && box.right <= area.right && box.top >= area.top && box.bottom <= area.bottom)
            inside.push_back(i);
    }
    return inside;
}

std::vector<ImagePoint> AnnotationHandles(const Annotation& object)
{
    if (object.kind == AnnotationKind::kArrow || object.kind == AnnotationKind::kLine)
        return object.points;
    if (!IsBoxKind(object.kind))
        return {};
    const ImageRect b = AnnotationBox(object);
    const float mx = (b.left + b.right) / 2, my = (b.top + b.bottom) / 2;
    return {{b.left, b.top},     {mx, b.top},     {b.right, b.top}, {b.right, my},
            {b.right, b.bottom}, {mx, b.bottom}, {b.left, b.bottom}, {b.left, my}};
}

Annotation ResizedAnnotation(const Annotation& object, int handle, ImagePoint point)
{
    Annotation resized = object;
    if (object.kind == AnnotationKind::kArrow || object.kind == AnnotationKind::kLine) {
        if (handle == 0 || handle == 1)
            resized.points[static_cast<size_t>(handle)] = point;
        return resized;
    }
    if (!IsBoxKind(object.kind) || handle < 0 || handle > 7)
        return resized;
    ImageRect b = AnnotationBox(object);
    // Handles 0-2 hold the top edge, 2-4 the right, 4-6 the bottom, 6, 7 and 0 the left.
    if (handle <= 2)
        b.top = point.y;
    if (handle >= 2 && handle <= 4)
        b.right = point.x;
    if (handle >= 4 && handle <= 6)
        b.bottom = point.y;
    if (handle >= 6 || handle == 0)
        b.left = point.x;
    resized.points = {{b.left, b.top}, {b.right, b.bottom}};
    return resized;
}

Annotation MovedAnnotation(const Annotation& object, float dx, float dy)
{
    Annotation moved = object;
    for (ImagePoint& p : moved.points) {
        p.x += dx;
        p.y += dy;
    }
    return moved;
}

ImagePoint SnappedEnd(AnnotationKind kind, ImagePoint start, ImagePoint end)
{
    const float dx = end.x - start.x, dy = end.y - start.y;
    if (kind == AnnotationKind::kArrow || kind == AnnotationKind::kLine) {
        const float step = 3.14159265f / 4;
        const float angle = std::round(std::atan2(dy, dx) / step) * step;
        const float length = std::hypot(dx, dy);
        return ImagePoint{start.x + length * std::cos(angle), start.y + length * std::sin(angle)};
    }
    if (IsBoxKind(kind)) {
        const float side = std::max(std::fabs(dx), std::fabs(dy));
        return ImagePoint{start.x + std::copysign(side, dx), start.y + std::copysign(side, dy)};
    }
    return end;
}

RECT PixelBox(const ImageRect& box, int width, int height)
{
    RECT pixels = SnapOutward(box);
    pixels.left = std::clamp<LONG>(pixels.left, 0, width);
    pixels.right = std::clamp<LONG>(pixels.right, 0, width);
    pixels.top = std::clamp<LONG>(pixels.top, 0, height);
    pixels.bottom = std::clamp<LONG>(pixels.bottom, 0, height);
    return pixels;
}
