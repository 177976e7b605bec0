#include "annotate/AnnotationPainter.h"

#include <gdiplus.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "annotate/AnnotationFonts.h"
#include "annotate/AnnotationLayout.h"
#include "annotate/AnnotationShapes.h"
#include "annotate/GdiplusSession.h"
#include "annotate/MosaicBlocks.h"
#include "annotate/ShapeClipping.h"
#include "imageio/TopDownDib.h"
#include "scoped/ScopedHandles.h"

namespace {

// Antialiasing may tint the pixel next to a shape's edge.
constexpr float kFringe = 1;
constexpr BYTE kHighlighterAlpha = 90;
constexpr BYTE kHalfAlpha = 128;
// A curve or text larger than this on the device is cut to what the drawing shows
// before GDI+ sees it (see ShapeClipping.h); smaller ones are drawn whole, exactly.
constexpr float kLargestWholeShape = 4096;
// How far a cut shape's flattened lines may stray, in device pixels.
constexpr float kDeviceTolerance = 0.25f;

Gdiplus::Color ColourOf(COLORREF colour, BYTE alpha = 255)
{
    return Gdiplus::Color(alpha, GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

// A shape's inside: the colour, opaque or at half strength.
Gdiplus::Color FillColourOf(const AnnotationStyle& style)
{
    return ColourOf(style.colour, style.fill == AnnotationFill::kHalf ? kHalfAlpha : 255);
}

// Black on light colours, white on dark ones: for a text on a box of its own colour.
Gdiplus::Color ContrastingColour(COLORREF colour)
{
    const int luminance = 299 * GetRValue(colour) + 587 * GetGValue(colour) + 114 * GetBValue(colour);
    return luminance > 150000 ? Gdiplus::Color(255, 0, 0, 0) : Gdiplus::Color(255, 255, 255, 255);
}

Gdiplus::PointF PointOf(ImagePoint point)
{
    return Gdiplus::PointF(point.x, point.y);
}

Gdiplus::RectF RectOf(const ImageRect& box)
{
    return Gdiplus::RectF(box.left, box.top, box.right - box.left, box.bottom - box.top);
}

ImageRect Inflated(ImageRect box, float by)
{
    return ImageRect{box.left - by, box.top - by, box.right + by, box.bottom + by};
}

// The box of a text: from its first point, as large as its second point says or,
// while it has none yet, as its layout measures.
ImageRect TextBox(const Annotation& text)
{
    const ImagePoint origin = text.points[0];
    const ImagePoint size =
        text.points.size() > 1 ? ImagePoint{text.points[1].x - origin.x, text.points[1].y - origin.y}
                               : MeasureAnnotationText(text.text, text.style);
    return ImageRect{origin.x, origin.y, origin.x + size.x, origin.y + size.y};
}

std::vector<Gdiplus::PointF> PointsOf(const std::vector<ImagePoint>& points)
{
    std::vector<Gdiplus::PointF> converted;
    converted.reserve(points.size());
    for (const ImagePoint& point : points)
        converted.push_back(PointOf(point));
    return converted;
}

// Where the image blit puts an image pixel's edge on the device, so that opaque boxes
// cover exactly the pixels they hide at every zoom.
LONG DeviceEdge(LONG image, float zoom, LONG offset)
{
    return std::lround(image * zoom) - offset;
}

// One drawing onto a device context: the GDI+ objects it needs live as long as it.
class CAnnotationPainter : CNonCopyable {
public:
    CAnnotationPainter(HDC dc, const CanvasMapping& mapping, const RECT& clip, HBITMAP image);
    void Paint(const Annotation& object);

private:
    void PaintArrow(const Annotation& arrow);
    void PaintLine(const Annotation& line);
    void PaintBox(const Annotation& box);
    void PaintStroke(const Annotation& stroke, float width, BYTE alpha);
    void PaintText(const Annotation& text);
    void PaintStep(const Annotation& step);
    void PaintRedact(const Annotation& redact);
    void PaintMosaic(const Annotation& mosaic);
    void PaintEllipse(const Gdiplus::RectF& rect, const Gdiplus::Brush* fill, const Gdiplus::Pen* outline);
    void PaintStringLines(const std::wstring& text, const Gdiplus::Font& font, const ImageRect& box,
                          const Gdiplus::Brush& brush);

    // True when the box lands larger on the device than a shape drawn whole may be.
    bool IsHuge(const ImageRect& box) const;
    // The image pixels the clip shows, grown by margin image pixels.
    ImageRect VisibleArea(float margin) const;
    float Tolerance() const { return kDeviceTolerance / m_mapping.zoom; }

    // A pen with round ends and joins.
    static std::unique_ptr<Gdiplus::Pen> RoundPen(const Gdiplus::Color& colour, float width);
    // Device pixels of whole image pixels, as the image blit puts them.
    RECT DeviceRect(const RECT& image) const;
    // Fills device pixels exactly, without antialiasing.
    void FillDevicePixels(const RECT& device, const Gdiplus::Color& colour);

    Gdiplus::Graphics m_graphics;
    const CanvasMapping m_mapping;
    const RECT m_clip;
    const HBITMAP m_hImage;
    CAnnotationFonts m_fonts;
};

CAnnotationPainter::CAnnotationPainter(HDC dc, const CanvasMapping& mapping, const RECT& clip, HBITMAP image)
    : m_graphics(dc), m_mapping(mapping), m_clip(clip), m_hImage(image)
{
    m_graphics.SetPageUnit(Gdiplus::UnitPixel);
    m_graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    // Device pixel x covers [x, x + 1), as image pixels do in image coordinates.
    m_graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    m_graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    const Gdiplus::Matrix toDevice(mapping.zoom, 0, 0, mapping.zoom, static_cast<float>(-mapping.offset.x),
                                   static_cast<float>(-mapping.offset.y));
    m_graphics.SetTransform(&toDevice);
}

void CAnnotationPainter::Paint(const Annotation& object)
{
    if (object.points.empty())
        return;
    const RECT device = MapImageRectToDevice(m_mapping, AnnotationInkBounds(object));
    RECT visible;
    if (!IntersectRect(&visible, &device, &m_clip))
        return;
    switch (object.kind) {
    case AnnotationKind::kArrow: PaintArrow(object); break;
    case AnnotationKind::kLine: PaintLine(object); break;
    case AnnotationKind::kRectangle:
    case AnnotationKind::kEllipse: PaintBox(object); break;
    case AnnotationKind::kPen: PaintStroke(object, object.style.width, 255); break;
    case AnnotationKind::kHighlighter: PaintStroke(object, HighlighterWidth(object.style), kHighlighterAlpha); break;
    case AnnotationKind::kText: PaintText(object); break;
    case AnnotationKind::kStep: PaintStep(object); break;
    case AnnotationKind::kRedact: PaintRedact(object); break;
    case AnnotationKind::kMosaic: PaintMosaic(object); break;
    }
}

std::unique_ptr<Gdiplus::Pen> CAnnotationPainter::RoundPen(const Gdiplus::Color& colour, float width)
{
    auto pen = std::make_unique<Gdiplus::Pen>(colour, width);
    pen->SetLineCap(Gdiplus::LineCapRound, Gdiplus::LineCapRound, Gdiplus::DashCapRound);
    pen->SetLineJoin(Gdiplus::LineJoinRound);
    return pen;
}

void CAnnotationPainter::PaintArrow(const Annotation& arrow)
{
    const ArrowShape shape = ArrowShapeOf(arrow.points.front(), arrow.points.back(), arrow.style.width);
    const Gdiplus::Color colour = ColourOf(arrow.style.colour);
    const auto pen = RoundPen(colour, arrow.style.width);
    pen->SetEndCap(Gdiplus::LineCapFlat);
    m_graphics.DrawLine(pen.get(), PointOf(arrow.points.front()), PointOf(shape.shaftEnd));
    const Gdiplus::PointF head[] = {PointOf(shape.tip), PointOf(shape.barbs[0]), PointOf(shape.barbs[1])};
    const Gdiplus::SolidBrush brush(colour);
    m_graphics.FillPolygon(&brush, head, 3);
}

void CAnnotationPainter::PaintLine(const Annotation& line)
{
    const auto pen = RoundPen(ColourOf(line.style.colour), line.style.width);
    m_graphics.DrawLine(pen.get(), PointOf(line.points.front()), PointOf(line.points.back()));
}

void CAnnotationPainter::PaintBox(const Annotation& box)
{
    const ImageRect shape = BoxBetween(box.points.front(), box.points.back());
    const float half = box.style.width / 2;
    const Gdiplus::Color colour = ColourOf(box.style.colour);
    const std::unique_ptr<Gdiplus::SolidBrush> fill =
        box.style.fill == AnnotationFill::kNone ? nullptr : std::make_unique<Gdiplus::SolidBrush>(FillColourOf(box.style));
    if (box.kind == AnnotationKind::kEllipse) {
        // Round joins: a mitred join where the outline closes juts out as a spike
        // under some GDI+ implementations.
        PaintEllipse(RectOf(shape), fill.get(), RoundPen(colour, box.style.width).get());
        return;
    }
    // A huge box is cut to the area shown and a little beyond, so that its cut edges
    // stay out of sight.
    const bool huge = IsHuge(shape);
    const ImageRect area = VisibleArea(box.style.width + 2 * kFringe);
    const auto shown = [&](const ImageRect& rect) {
        if (!huge)
            return RectOf(rect);
        return RectOf(ImageRect{std::clamp(rect.left, area.left, area.right), std::clamp(rect.top, area.top, area.bottom),
                                std::clamp(rect.right, area.left, area.right),
                                std::clamp(rect.bottom, area.top, area.bottom)});
    };
    if (fill)
        m_graphics.FillRectangle(fill.get(), shown(shape));
    // The outline as the area between two rectangles: its corners are square under
    // every GDI+, where a wide pen's rectangle may lack its first corner.
    Gdiplus::GraphicsPath frame(Gdiplus::FillModeAlternate);
    frame.AddRectangle(shown(Inflated(shape, half)));
    if (shape.right - shape.left > 2 * half && shape.bottom - shape.top > 2 * half)
        frame.AddRectangle(shown(Inflated(shape, -half)));
    const Gdiplus::SolidBrush brush(colour);
    m_graphics.FillPath(&brush, &frame);
}

void CAnnotationPainter::PaintEllipse(const Gdiplus::RectF& rect, const Gdiplus::Brush* fill,
                                      const Gdiplus::Pen* outline)
{
    const ImageRect box{rect.X, rect.Y, rect.X + rect.Width, rect.Y + rect.Height};
    if (!IsHuge(box)) {
        if (fill)
            m_graphics.FillEllipse(fill, rect);
        if (outline)
            m_graphics.DrawEllipse(outline, rect);
        return;
    }
    // Cut beyond the pen's reach, so that the cut edges stay out of sight.
    const float reach = outline ? outline->GetWidth() : 0;
    const std::vector<Gdiplus::PointF> polygon =
        PointsOf(ClipPolygon(EllipsePolygon(box, Tolerance()), VisibleArea(reach + 2 * kFringe)));
    if (polygon.size() < 3)
        return;
    if (fill)
        m_graphics.FillPolygon(fill, polygon.data(), static_cast<INT>(polygon.size()));
    if (outline)
        m_graphics.DrawPolygon(outline, polygon.data(), static_cast<INT>(polygon.size()));
}

// The whole stroke in one figure, so that where a translucent stroke crosses itself it
// is painted once and does not grow darker.
void CAnnotationPainter::PaintStroke(const Annotation& stroke, float width, BYTE alpha)
{
    const Gdiplus::Color colour = ColourOf(stroke.style.colour, alpha);
    if (stroke.points.size() == 1) {
        const Gdiplus::SolidBrush brush(colour);
        const ImagePoint centre = stroke.points[0];
        m_graphics.FillEllipse(&brush, centre.x - width / 2, centre.y - width / 2, width, width);
        return;
    }
    const std::vector<ImagePoint> beziers = StrokeBeziers(stroke.points);
    const auto pen = RoundPen(colour, width);
    if (!IsHuge(BoxOfPoints(beziers))) {
        const std::vector<Gdiplus::PointF> points = PointsOf(beziers);
        m_graphics.DrawBeziers(pen.get(), points.data(), static_cast<INT>(points.size()));
        return;
    }
    Gdiplus::GraphicsPath path;
    for (const std::vector<ImagePoint>& run : BezierRunsInside(beziers, VisibleArea(width + 2 * kFringe), Tolerance())) {
        const std::vector<Gdiplus::PointF> points = PointsOf(run);
        path.StartFigure();
        path.AddLines(points.data(), static_cast<INT>(points.size()));
    }
    m_graphics.DrawPath(pen.get(), &path);
}

void CAnnotationPainter::PaintText(const Annotation& text)
{
    const AnnotationStyle& style = text.style;
    const ImageRect box = TextBox(text);
    Gdiplus::Color ink = ColourOf(style.colour);
    if (style.fill != AnnotationFill::kNone) {
        const Gdiplus::SolidBrush background(FillColourOf(style));
        ImageRect shown = Inflated(box, TextBackgroundMargin(style));
        if (IsHuge(shown)) {
            const ImageRect area = VisibleArea(2 * kFringe);
            shown = ImageRect{std::max(shown.left, area.left), std::max(shown.top, area.top),
                              std::min(shown.right, area.right), std::min(shown.bottom, area.bottom)};
        }
        m_graphics.FillRectangle(&background, RectOf(shown));
        ink = ContrastingColour(style.colour);
    }
    const Gdiplus::SolidBrush brush(ink);
    PaintStringLines(text.text, m_fonts.Get(style.fontFace, style.fontSize), box, brush);
}

// A huge text is drawn from its first line in sight to its last: its box holds its lines
// at equal steps, and glyphs reach at most a line beyond their own.
void CAnnotationPainter::PaintStringLines(const std::wstring& text, const Gdiplus::Font& font, const ImageRect& box,
                                          const Gdiplus::Brush& brush)
{
    size_t begin = 0, end = text.size();
    float top = box.top;
    if (IsHuge(box)) {
        const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), L'\n')) + 1;
        const float step = (box.bottom - box.top) / static_cast<float>(lines);
        const ImageRect area = VisibleArea(step + 2 * kFringe);
        if (!(step > 0) || area.bottom < box.top || area.top > box.bottom)
            return;
        const float count = static_cast<float>(lines);
        const size_t first = static_cast<size_t>(std::clamp((area.top - box.top) / step, 0.0f, count));
        const size_t last = static_cast<size_t>(std::clamp((area.bottom - box.top) / step + 1, 0.0f, count));
        size_t line = 0;
        for (size_t at = 0; at < text.size() && line < last; ++at) {
            if (text[at] != L'\n')
                continue;
            ++line;
            if (line == first)
                begin = at + 1;
            if (line == last)
                end = at;
        }
        top += step * static_cast<float>(first);
    }
    m_graphics.DrawString(text.c_str() + begin, static_cast<INT>(end - begin), &font, Gdiplus::PointF(box.left, top),
                          &m_fonts.Layout(), &brush);
}

void CAnnotationPainter::PaintStep(const Annotation& step)
{
    const float radius = StepRadius(step.style);
    const ImagePoint centre = step.points[0];
    const Gdiplus::RectF circle(centre.x - radius, centre.y - radius, 2 * radius, 2 * radius);
    const Gdiplus::SolidBrush fill(ColourOf(step.style.colour));
    PaintEllipse(circle, &fill, nullptr);

    const std::wstring number = std::to_wstring(step.number);
    // Two digits fit the circle at the font size; longer numbers get smaller.
    const float size = step.style.fontSize * std::min(1.0f, 2.0f / number.size());
    const Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
    m_graphics.DrawString(number.c_str(), static_cast<INT>(number.size()),
                          &m_fonts.Get(step.style.fontFace, size, Gdiplus::FontStyleBold), circle, &m_fonts.Centred(),
                          &white);
}

bool CAnnotationPainter::IsHuge(const ImageRect& box) const
{
    return (box.right - box.left) * m_mapping.zoom > kLargestWholeShape ||
           (box.bottom - box.top) * m_mapping.zoom > kLargestWholeShape;
}

ImageRect CAnnotationPainter::VisibleArea(float margin) const
{
    const float zoom = m_mapping.zoom;
    return Inflated(ImageRect{(m_clip.left + m_mapping.offset.x) / zoom, (m_clip.top + m_mapping.offset.y) / zoom,
                              (m_clip.right + m_mapping.offset.x) / zoom, (m_clip.bottom + m_mapping.offset.y) / zoom},
                    margin);
}

RECT CAnnotationPainter::DeviceRect(const RECT& image) const
{
    return RECT{DeviceEdge(image.left, m_mapping.zoom, m_mapping.offset.x),
                DeviceEdge(image.top, m_mapping.zoom, m_mapping.offset.y),
                DeviceEdge(image.right, m_mapping.zoom, m_mapping.offset.x),
                DeviceEdge(image.bottom, m_mapping.zoom, m_mapping.offset.y)};
}

void CAnnotationPainter::FillDevicePixels(const RECT& device, const Gdiplus::Color& colour)
{
    const Gdiplus::GraphicsState state = m_graphics.Save();
    m_graphics.ResetTransform();
    m_graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
    const Gdiplus::SolidBrush brush(colour);
    m_graphics.FillRectangle(&brush, Gdiplus::Rect(device.left, device.top, device.right - device.left,
                                                   device.bottom - device.top));
    m_graphics.Restore(state);
}

void CAnnotationPainter::PaintRedact(const Annotation& redact)
{
    const RECT box = SnapOutward(BoxBetween(redact.points.front(), redact.points.back()));
    FillDevicePixels(DeviceRect(box), ColourOf(redact.style.colour));
}

// The blocks that show are laid out in device pixels and copied with one unscaled
// image draw, however many there are.
void CAnnotationPainter::PaintMosaic(const Annotation& mosaic)
{
    const RECT box = SnapOutward(BoxBetween(mosaic.points.front(), mosaic.points.back()));
    // The image pixels the clip shows any part of.
    const RECT shown = SnapOutward(VisibleArea(0));
    CMosaicBlocks blocks;
    if (!blocks.Read(m_hImage, box, std::max(mosaic.style.mosaicBlock, 1), shown))
        return;
    const RECT first = blocks.BlockRect(blocks.FirstColumn(), blocks.FirstRow());
    const RECT last = blocks.BlockRect(blocks.LastColumn() - 1, blocks.LastRow() - 1);
    const RECT all = DeviceRect(RECT{first.left, first.top, last.right, last.bottom});
    RECT target;
    if (!IntersectRect(&target, &all, &m_clip))
        return;
    const int width = target.right - target.left;
    const int height = target.bottom - target.top;
    std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
    for (int row = blocks.FirstRow(); row < blocks.LastRow(); ++row) {
        for (int column = blocks.FirstColumn(); column < blocks.LastColumn(); ++column) {
            RECT cell;
            const RECT device = DeviceRect(blocks.BlockRect(column, row));
            if (!IntersectRect(&cell, &device, &target))
                continue;
            const DWORD mean = blocks.Mean(column, row);
            for (LONG y = cell.top; y < cell.bottom; ++y) {
                DWORD* line = &pixels[static_cast<size_t>(y - target.top) * width];
                std::fill(line + (cell.left - target.left), line + (cell.right - target.left), mean);
            }
        }
    }
    // Straight to the device: GDI+ would convert the pixels into a bitmap of its own first.
    const BITMAPINFO info = TopDownDibInfo(width, height);
    const HDC dc = m_graphics.GetHDC();
    SetDIBitsToDevice(dc, target.left, target.top, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    m_graphics.ReleaseHDC(dc);
}

}  // namespace

void PaintAnnotations(HDC dc, const CanvasMapping& mapping, const RECT& clip, HBITMAP image,
                      const std::vector<Annotation>& objects, const Annotation* draft)
{
    if ((objects.empty() && !draft) || !(mapping.zoom > 0) || !CGdiplusSession::Start())
        return;
    // The clip goes to the device context rather than to GDI+, which would turn it into
    // a region again for every shape it draws.
    const CSavedDC saved(dc);
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    CAnnotationPainter painter(dc, mapping, clip, image);
    for (const Annotation& object : objects)
        painter.Paint(object);
    if (draft)
        painter.Paint(*draft);
}

HBITMAP FlattenAnnotations(HBITMAP image, const std::vector<Annotation>& objects)
{
    if (!CGdiplusSession::Start()) {
        SetLastError(ERROR_DLL_INIT_FAILED);
        return nullptr;
    }
    BITMAP source{};
    if (!GetObject(image, sizeof(source), &source)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    DWORD* pixels = nullptr;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    CBitmapOwner flat = CreateTopDownDib(source.bmWidth, source.bmHeight, pixels);
    if (!flat)
        return nullptr;
    const CMemoryDC dc(nullptr);
    BITMAPINFO info = TopDownDibInfo(source.bmWidth, source.bmHeight);
    if (GetDIBits(dc, image, 0, static_cast<UINT>(source.bmHeight), pixels, &info, DIB_RGB_COLORS) != source.bmHeight)
        return nullptr;
    {
        const CSelectObject selection(dc, flat.get());
        if (!selection.Succeeded())
            return nullptr;
        PaintAnnotations(dc, CanvasMapping{}, RECT{0, 0, source.bmWidth, source.bmHeight}, image, objects);
        GdiFlush();
    }
    return flat.release();
}

RECT AnnotationInkBounds(const Annotation& object)
{
    if (object.points.empty())
        return RECT{};
    const AnnotationStyle& style = object.style;
    const ImagePoint first = object.points.front();
    const ImagePoint last = object.points.back();
    ImageRect box = BoxBetween(first, last);
    float margin = style.width / 2;
    switch (object.kind) {
    case AnnotationKind::kArrow:
        margin = std::max(margin, ArrowShapeOf(first, last, style.width).headHalfWidth);
        break;
    case AnnotationKind::kLine:
    case AnnotationKind::kRectangle:
    case AnnotationKind::kEllipse:
        break;
    case AnnotationKind::kPen:
    case AnnotationKind::kHighlighter:
        box = BoxOfPoints(StrokeBeziers(object.points));
        if (object.kind == AnnotationKind::kHighlighter)
            margin = HighlighterWidth(style) / 2;
        break;
    case AnnotationKind::kText:
        // The background's margin, and as much again for glyphs reaching beyond the layout.
        box = TextBox(object);
        margin = 2 * TextBackgroundMargin(style);
        break;
    case AnnotationKind::kStep:
        box = Inflated(BoxBetween(first, first), StepRadius(style));
        margin = 0;
        break;
    case AnnotationKind::kRedact:
    case AnnotationKind::kMosaic:
        return SnapOutward(box);
    }
    return SnapOutward(Inflated(box, margin + kFringe));
}

RECT MapImageRectToDevice(const CanvasMapping& mapping, const RECT& image)
{
    const float zoom = mapping.zoom;
    RECT device = SnapOutward(ImageRect{image.left * zoom, image.top * zoom, image.right * zoom, image.bottom * zoom});
    OffsetRect(&device, -mapping.offset.x, -mapping.offset.y);
    return device;
}

ImagePoint MeasureAnnotationText(const std::wstring& text, const AnnotationStyle& style)
{
    if (!CGdiplusSession::Start())
        return ImagePoint{};
    const CMemoryDC dc(nullptr);
    Gdiplus::Graphics graphics(dc);
    graphics.SetPageUnit(Gdiplus::UnitPixel);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    CAnnotationFonts fonts;
    const Gdiplus::Font& font = fonts.Get(style.fontFace, style.fontSize);
    if (text.empty())
        return ImagePoint{0, font.GetHeight(&graphics)};
    Gdiplus::RectF box;
    graphics.MeasureString(text.c_str(), static_cast<INT>(text.size()), &font, Gdiplus::PointF(0, 0), &fonts.Layout(),
                           &box);
    return ImagePoint{box.Width, box.Height};
}
