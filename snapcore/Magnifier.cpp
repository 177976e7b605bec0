#include "Magnifier.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "FrozenScreen.h"
#include "GdiDrawing.h"
#include "SystemCodePage.h"

namespace snapcore {
namespace {

// The caller's defaults when it passes no options.
constexpr int kDefaultMagnification = 2;

// Layout of the client area: the enlarged pixels on top, two label rows below.
constexpr int kImageSize = 129; // odd, so the pointer's pixel sits in the middle
constexpr int kPadding = 4;
constexpr int kLabelHeight = 20;
constexpr int kClientWidth = kPadding + kImageSize + kPadding;
constexpr int kClientHeight = kPadding + kImageSize + kPadding + 2 * kLabelHeight + kPadding;
constexpr int kLabelFlags = 1;
constexpr int kFrameFlags = 1;

const COLORREF kOffScreen = RGB(48, 48, 48);

// Inverting keeps the crosshair visible on any picture.
void InvertRing(HDC dc, const RECT& outer)
{
    RECT strips[4];
    RingStrips(outer, 1, strips);
    for (const RECT& strip : strips)
        PatBlt(dc, strip.left, strip.top, Width(strip), Height(strip), DSTINVERT);
}

void FormatCaption(char* out, size_t size, int magnification)
{
    const std::wstring caption = L"放大镜 " + std::to_wstring(magnification) + L"\u00D7";
    if (!ToSystemCodePage(caption.c_str(), out, size))
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
      m_nSkin(aux ? aux->m_nSkin : 0)
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

RECT CMagnifier::PlaceFor(POINT pointer, const RECT& monitor) const
{
    const LONG width = kClientWidth + m_rcClientInsets.left + m_rcClientInsets.right;
    const LONG height = kClientHeight + m_rcClientInsets.top + m_rcClientInsets.bottom;
    // The pointer's shape hangs down and to the right of its hot spot; one cursor size
    // away it is never covered.
    const LONG gapX = GetSystemMetrics(SM_CXCURSOR), gapY = GetSystemMetrics(SM_CYCURSOR);
    LONG left = pointer.x + gapX, top = pointer.y + gapY;
    if (left + width > monitor.right)
        left = pointer.x - gapX - width;
    if (top + height > monitor.bottom)
        top = pointer.y - gapY - height;
    return RECT{left, top, left + width, top + height};
}

void CMagnifier::Draw(HDC dc, const RECT& frame, const CFrozenScreen& screen, POINT pointer) const
{
    char caption[64];
    FormatCaption(caption, sizeof(caption), m_nMagnification);
    RECT client = frame;
    {
        const CSavedDC saved(dc);
        m_pSkins->DrawFrame(dc, &frame, caption, kFrameFlags);
        m_pSkins->CalcClientRect(&frame, &client);
    }
    const LONG left = client.left + kPadding;
    const RECT image{left, client.top + kPadding, left + kImageSize, client.top + kPadding + kImageSize};
    DrawPixels(dc, image, screen, pointer);
    const RECT coordinates{left, image.bottom + kPadding, image.right, image.bottom + kPadding + kLabelHeight};
    const RECT colour{left, coordinates.bottom, image.right, coordinates.bottom + kLabelHeight};
    DrawLabels(dc, coordinates, colour, screen.PixelAt(pointer), pointer);
}

void CMagnifier::DrawPixels(HDC dc, const RECT& image, const CFrozenScreen& screen, POINT pointer) const
{
    const CSavedDC saved(dc);
    IntersectClipRect(dc, image.left, image.top, image.right, image.bottom);
    FillSolid(dc, image, kOffScreen);

    const int zoom = m_nMagnification;
    // The cell that shows the pointer's own pixel, in the middle of the image.
    const RECT cell{image.left + kImageSize / 2 - zoom / 2, image.top + kImageSize / 2 - zoom / 2,
                    image.left + kImageSize / 2 - zoom / 2 + zoom, image.top + kImageSize / 2 - zoom / 2 + zoom};
    const LONG reach = kImageSize / 2 / zoom + 1; // screen pixels shown on each side of the pointer
    RECT source{pointer.x - reach, pointer.y - reach, pointer.x + reach + 1, pointer.y + reach + 1};
    const RECT bounds = screen.Bounds();
    if (IntersectRect(&source, &source, &bounds)) {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, cell.left + (source.left - pointer.x) * zoom, cell.top + (source.top - pointer.y) * zoom,
                   Width(source) * zoom, Height(source) * zoom, screen.DC(), source.left - bounds.left,
                   source.top - bounds.top, Width(source), Height(source), SRCCOPY);
    }

    RECT box = cell;
    InflateRect(&box, 1, 1);
    InvertRing(dc, box);
    const LONG midX = cell.left + zoom / 2, midY = cell.top + zoom / 2;
    PatBlt(dc, image.left, midY, box.left - image.left, 1, DSTINVERT);
    PatBlt(dc, box.right, midY, image.right - box.right, 1, DSTINVERT);
    PatBlt(dc, midX, image.top, 1, box.top - image.top, DSTINVERT);
    PatBlt(dc, midX, box.bottom, 1, image.bottom - box.bottom, DSTINVERT);
}

void CMagnifier::DrawLabels(HDC dc, const RECT& coordinates, const RECT& colour, COLORREF rgb, POINT pointer) const
{
    char text[40];
    snprintf(text, sizeof(text), "(%ld, %ld)", static_cast<long>(pointer.x), static_cast<long>(pointer.y));
    {
        const CSavedDC saved(dc);
        m_pSkins->DrawLabel(dc, &coordinates, text, kLabelFlags);
    }
    // A swatch of the colour, then its value.
    const LONG side = Height(colour) - 6;
    const RECT swatch{colour.left + 1, colour.top + 3, colour.left + 1 + side, colour.top + 3 + side};
    const RECT value{swatch.right + 4, colour.top, colour.right, colour.bottom};
    snprintf(text, sizeof(text), "#%02X%02X%02X", GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    {
        const CSavedDC saved(dc);
        m_pSkins->DrawLabel(dc, &value, text, kLabelFlags);
    }
    const CSavedDC saved(dc);
    FillSolid(dc, swatch, rgb);
    FrameRect(dc, &swatch, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

} // namespace snapcore
