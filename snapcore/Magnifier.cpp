#include "Magnifier.h"

#include <algorithm>
#include <cstdio>

#include "FrozenScreen.h"
#include "GdiDrawing.h"
#include "SystemCodePage.h"

namespace snapcore {
namespace {

// The caller's defaults when it passes no options.
constexpr int kDefaultMagnification = 2;

// Layout of the client area at 96 DPI: the enlarged pixels on top, two label rows below.
constexpr int kImageSize = 129;
constexpr int kPadding = 4;
constexpr int kLabelHeight = 20;
constexpr int kSkinFlags = 1; // frames and labels fill their background, as the program asks

const COLORREF kOffScreen = RGB(48, 48, 48);

// The crosshair and the pixel box are dark lines with light edges: one of the two
// stands out on any picture, where an inverted line fades into a mid-grey.
const COLORREF kMarkLine = RGB(0, 0, 0);
const COLORREF kMarkEdge = RGB(255, 255, 255);

// An arm of the crosshair between its two light edges, each one line thick.
void DrawCrosshairArm(HDC dc, const RECT& arm, int line)
{
    FillSolid(dc, Inflated(arm, line), kMarkEdge);
    FillSolid(dc, arm, kMarkLine);
}

// The start of a frame of the given length one gap away from position along one
// axis: after it (side 1) or before it (side -1), and on the other side where the
// range from low to high ends.
LONG PlaceBeside(LONG position, LONG gap, LONG length, int side, LONG low, LONG high)
{
    const LONG after = position + gap, before = position - gap - length;
    if (side > 0)
        return after + length <= high ? after : before;
    return before >= low ? before : after;
}

void FormatCaption(char* out, size_t size, int magnification)
{
    wchar_t caption[40] = {};
    _snwprintf(caption, 39, L"放大镜 %d\u00D7", magnification);
    if (!ToSystemCodePage(caption, out, size))
        snprintf(out, size, "Zoom %dx", magnification);
}

int CountSkins(ISkinManager* skins)
{
    const SkinEntry* entry = skins->GetSkinList(0);
    int count = 0;
    while (entry && entry[count].name)
        ++count;
    return count;
}

} // namespace

CMagnifier::CMagnifier(const AuxWindowOptions* aux)
    : m_pSkins(CreateSkinManager()),
      m_nMagnification(std::clamp(aux ? aux->m_nMagnification : kDefaultMagnification, kMinMagnification,
                                  kMaxMagnification)),
      m_nSkin(aux ? aux->m_nSkin : 0),
      m_nImageSize(m_scale.Scale(kImageSize) | 1),
      m_nPadding(m_scale.Scale(kPadding)),
      m_nLabelHeight(m_scale.Scale(kLabelHeight))
{
    if (!m_pSkins)
        return;
    m_nSkinCount = CountSkins(m_pSkins.get());
    m_nSkin = m_nSkinCount > 0 ? std::clamp(m_nSkin, 0, m_nSkinCount - 1) : 0;
    SelectSkin();
}

void CMagnifier::Store(AuxWindowOptions* aux) const
{
    if (!aux)
        return;
    aux->m_nMagnification = m_nMagnification;
    aux->m_nSkin = m_nSkin;
}

bool CMagnifier::Zoom(int steps)
{
    const int previous = m_nMagnification;
    m_nMagnification = std::clamp(m_nMagnification + steps, kMinMagnification, kMaxMagnification);
    return m_nMagnification != previous;
}

bool CMagnifier::CycleSkin(int direction)
{
    if (m_nSkinCount < 2)
        return false;
    m_nSkin = (m_nSkin + direction % m_nSkinCount + m_nSkinCount) % m_nSkinCount;
    SelectSkin();
    return true;
}

// A skin decides how wide its borders and caption are; they are measured once per skin.
void CMagnifier::SelectSkin()
{
    m_pSkins->SelectSkin(m_nSkin, 0);
    const RECT probe{0, 0, 400, 400};
    RECT client = probe;
    m_pSkins->CalcClientRect(&probe, &client);
    m_rcClientInsets = RECT{client.left - probe.left, client.top - probe.top, probe.right - client.right,
                            probe.bottom - client.bottom};
}

SIZE CMagnifier::FrameSize() const
{
    const int clientWidth = m_nPadding + m_nImageSize + m_nPadding;
    const int clientHeight = m_nPadding + m_nImageSize + m_nPadding + 2 * m_nLabelHeight + m_nPadding;
    return SIZE{clientWidth + m_rcClientInsets.left + m_rcClientInsets.right,
                clientHeight + m_rcClientInsets.top + m_rcClientInsets.bottom};
}

RECT CMagnifier::PlaceFor(POINT pointer, SIZE side, const RECT& monitor) const
{
    const SIZE size = FrameSize();
    // The pointer's shape hangs down and to the right of its hot spot; one cursor size
    // away it is never covered.
    const LONG left =
        PlaceBeside(pointer.x, GetSystemMetrics(SM_CXCURSOR), size.cx, side.cx, monitor.left, monitor.right);
    const LONG top =
        PlaceBeside(pointer.y, GetSystemMetrics(SM_CYCURSOR), size.cy, side.cy, monitor.top, monitor.bottom);
    return RECT{left, top, left + size.cx, top + size.cy};
}

void CMagnifier::Draw(HDC dc, POINT origin, const CFrozenScreen& screen, POINT pointer)
{
    if (!PrepareBuffer())
        return;
    const bool fresh = m_nDrawnSkin != m_nSkin || m_nDrawnMagnification != m_nMagnification;
    if (fresh)
        DrawChrome();
    if (fresh || pointer.x != m_ptDrawn.x || pointer.y != m_ptDrawn.y) {
        DrawPixels(screen, pointer);
        DrawCoordinates(pointer);
        m_ptDrawn = pointer;
    }
    const COLORREF colour = screen.PixelAt(pointer);
    if (fresh || colour != m_crDrawn) {
        DrawColour(colour);
        m_crDrawn = colour;
    }
    BitBlt(dc, origin.x, origin.y, m_bufferSize.cx, m_bufferSize.cy, m_bufferDC, 0, 0, SRCCOPY);
}

// The buffer has the size of the current skin's frame.
bool CMagnifier::PrepareBuffer()
{
    const SIZE size = FrameSize();
    if (m_buffer && size.cx == m_bufferSize.cx && size.cy == m_bufferSize.cy)
        return true;
    m_bufferSelection.reset();
    m_buffer.reset(CreateCanvas(m_bufferDC, size));
    if (!m_buffer || !m_bufferDC)
        return false;
    m_bufferSelection.emplace(m_bufferDC, m_buffer.get());
    m_bufferSize = size;
    m_nDrawnSkin = -1;
    return true;
}

void CMagnifier::DrawChrome()
{
    char caption[64];
    FormatCaption(caption, sizeof(caption), m_nMagnification);
    const RECT frame{0, 0, m_bufferSize.cx, m_bufferSize.cy};
    m_pSkins->DrawFrame(m_bufferDC, &frame, caption, kSkinFlags);
    RECT client = frame;
    m_pSkins->CalcClientRect(&frame, &client);
    const LONG left = client.left + m_nPadding, top = client.top + m_nPadding;
    m_rcImage = RECT{left, top, left + m_nImageSize, top + m_nImageSize};
    m_rcCoordinates =
        RECT{left, m_rcImage.bottom + m_nPadding, m_rcImage.right, m_rcImage.bottom + m_nPadding + m_nLabelHeight};
    m_rcColour = RECT{left, m_rcCoordinates.bottom, m_rcImage.right, m_rcCoordinates.bottom + m_nLabelHeight};
    m_nDrawnSkin = m_nSkin;
    m_nDrawnMagnification = m_nMagnification;
}

void CMagnifier::DrawPixels(const CFrozenScreen& screen, POINT pointer) const
{
    const HDC dc = m_bufferDC;
    const RECT& image = m_rcImage;
    FillSolid(dc, image, kOffScreen);

    const int zoom = m_nMagnification;
    // The cell that shows the pointer's own pixel, in the middle of the image.
    const int half = m_nImageSize / 2;
    const LONG cellLeft = image.left + half - zoom / 2, cellTop = image.top + half - zoom / 2;
    const RECT cell{cellLeft, cellTop, cellLeft + zoom, cellTop + zoom};
    const LONG reach = half / zoom + 1; // screen pixels shown on each side of the pointer
    RECT source{pointer.x - reach, pointer.y - reach, pointer.x + reach + 1, pointer.y + reach + 1};
    const RECT bounds = screen.Bounds();
    const CSavedDC saved(dc);
    IntersectClipRect(dc, image.left, image.top, image.right, image.bottom);
    if (IntersectRect(&source, &source, &bounds)) {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, cell.left + (source.left - pointer.x) * zoom, cell.top + (source.top - pointer.y) * zoom,
                   Width(source) * zoom, Height(source) * zoom, screen.DC(), source.left - bounds.left,
                   source.top - bounds.top, Width(source), Height(source), SRCCOPY);
    }

    // The box: a dark ring around the cell, a light one around that.
    const int line = m_scale.Scale(1);
    const RECT box = Inflated(cell, 2 * line);
    FillRing(dc, box, line, kMarkEdge);
    FillRing(dc, Inflated(cell, line), line, kMarkLine);
    const LONG midX = cell.left + zoom / 2 - line / 2, midY = cell.top + zoom / 2 - line / 2;
    DrawCrosshairArm(dc, RECT{image.left, midY, box.left, midY + line}, line);
    DrawCrosshairArm(dc, RECT{box.right, midY, image.right, midY + line}, line);
    DrawCrosshairArm(dc, RECT{midX, image.top, midX + line, box.top}, line);
    DrawCrosshairArm(dc, RECT{midX, box.bottom, midX + line, image.bottom}, line);
}

void CMagnifier::DrawCoordinates(POINT pointer) const
{
    char text[40];
    snprintf(text, sizeof(text), "(%ld, %ld)", static_cast<long>(pointer.x), static_cast<long>(pointer.y));
    m_pSkins->DrawLabel(m_bufferDC, &m_rcCoordinates, text, kSkinFlags);
}

// A swatch of the colour, then its value.
void CMagnifier::DrawColour(COLORREF rgb) const
{
    const RECT& row = m_rcColour;
    const int margin = m_scale.Scale(3);
    const LONG side = Height(row) - 2 * margin;
    const RECT swatch{row.left + 1, row.top + margin, row.left + 1 + side, row.top + margin + side};
    const RECT value{swatch.right + m_scale.Scale(4), row.top, row.right, row.bottom};
    char text[16];
    snprintf(text, sizeof(text), "#%02X%02X%02X", GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    m_pSkins->DrawLabel(m_bufferDC, &value, text, kSkinFlags);
    FillSolid(m_bufferDC, swatch, rgb);
    FrameRect(m_bufferDC, &swatch, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

} // namespace snapcore
