#include "annotate/ShapeClipping.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;
// Beyond this many sides, more accuracy shows on no screen.
constexpr int kMostEllipseSides = 65536;
constexpr int kMostCurvePieces = 1024;

// The polygon's part on the inner side of one edge of the area (Sutherland-Hodgman):
// inside(p) tells the side, crossing(a, b) where a side crosses the edge.
template <typename Inside, typename Crossing>
std::vector<ImagePoint> ClipToEdge(const std::vector<ImagePoint>& polygon, Inside inside, Crossing crossing)
{
    std::vector<ImagePoint> kept;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const ImagePoint from = polygon[i == 0 ? polygon.size() - 1 : i - 1], to = polygon[i];
        if (inside(to)) {
            if (!inside(from))
                kept.push_back(crossing(from, to));
            kept.push_back(to);
        } else if (inside(from)) {
            kept.push_back(crossing(from, to));
        }
    }
    return kept;
}

ImagePoint AtX(ImagePoint a, ImagePoint b, float x)
{
    return ImagePoint{x, a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x)};
}

ImagePoint AtY(ImagePoint a, ImagePoint b, float y)
{
    return ImagePoint{a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y), y};
}

bool Meets(const ImageRect& a, const ImageRect& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

ImagePoint Cubic(const ImagePoint* p, float t)
{
    const float s = 1 - t;
    const float a = s * s * s, b = 3 * s * s * t, c = 3 * s * t * t, d = t * t * t;
    return ImagePoint{a * p[0].x + b * p[1].x + c * p[2].x + d * p[3].x,
                      a * p[0].y + b * p[1].y + c * p[2].y + d * p[3].y};
}

// Enough pieces that the chords of the curve stray less than tolerance from it: the
// deviation of n pieces is at most 3/4 of the largest second difference over n squared.
int CurvePieces(const ImagePoint* p, float tolerance)
{
    const float ax = p[0].x - 2 * p[1].x + p[2].x, ay = p[0].y - 2 * p[1].y + p[2].y;
    const float bx = p[1].x - 2 * p[2].x + p[3].x, by = p[1].y - 2 * p[2].y + p[3].y;
    const float bend = std::sqrt(std::max(ax * ax + ay * ay, bx * bx + by * by));
    const float pieces = std::ceil(std::sqrt(0.75f * bend / tolerance));
    return static_cast<int>(std::clamp(pieces, 1.0f, static_cast<float>(kMostCurvePieces)));
}

}  // namespace

std::vector<ImagePoint> EllipsePolygon(const ImageRect& box, float tolerance)
{
    const float rx = (box.right - box.left) / 2, ry = (box.bottom - box.top) / 2;
    const float cx = box.left + rx, cy = box.top + ry;
    // A side of angle a strays r (1 - cos(a / 2)), about r a^2 / 8, from the circle.
    const float radius = std::max(rx, ry);
    const float angle = radius > tolerance ? 2 * std::sqrt(2 * tolerance / radius) : kPi / 2;
    const int sides = static_cast<int>(std::clamp(std::ceil(2 * kPi / angle), 8.0f, float(kMostEllipseSides)));
    std::vector<ImagePoint> polygon(static_cast<size_t>(sides));
    for (int i = 0; i < sides; ++i) {
        const float a = 2 * kPi * static_cast<float>(i) / static_cast<float>(sides);
        polygon[static_cast<size_t>(i)] = ImagePoint{cx + rx * std::cos(a), cy + ry * std::sin(a)};
    }
    return polygon;
}

std::vector<ImagePoint> ClipPolygon(const std::vector<ImagePoint>& polygon, const ImageRect& area)
{
    std::vector<ImagePoint> kept = polygon;
    kept = ClipToEdge(kept, [&](ImagePoint p) { return p.x >= area.left; },
                      [&](ImagePoint a, ImagePoint b) { return AtX(a, b, area.left); });
    kept = ClipToEdge(kept, [&](ImagePoint p) { return p.x <= area.right; },
                      [&](ImagePoint a, ImagePoint b) { return AtX(a, b, area.right); });
    kept = ClipToEdge(kept, [&](ImagePoint p) { return p.y >= area.top; },
                      [&](ImagePoint a, ImagePoint b) { return AtY(a, b, area.top); });
    kept = ClipToEdge(kept, [&](ImagePoint p) { return p.y <= area.bottom; },
                      [&](ImagePoint a, ImagePoint b) { return AtY(a, b, area.bottom); });
    return kept;
}

std::vector<std::vector<ImagePoint>> BezierRunsInside(const std::vector<ImagePoint>& beziers, const ImageRect& area,
                                                      float tolerance)
{
    std::vector<std::vector<ImagePoint>> runs;
    bool running = false;
    for (size_t at = 0; at + 3 < beziers.size(); at += 3) {
        const ImagePoint* curve = &beziers[at];
        // A Bezier lies within the box of its control points.
        const std::vector<ImagePoint> controls(curve, curve + 4);
        if (!Meets(BoxOfPoints(controls), area)) {
            running = false;
            continue;
        }
        if (!running)
            runs.push_back({curve[0]});
        running = true;
        const int pieces = CurvePieces(curve, tolerance);
        for (int i = 1; i <= pieces; ++i)
            runs.back().push_back(Cubic(curve, static_cast<float>(i) / static_cast<float>(pieces)));
    }
    return runs;
}
