#include "FrozenScreen.h"

#include "GdiDrawing.h"
#include "VirtualScreenCapture.h"

namespace snapcore {
namespace {

uint32_t* PixelsOf(HBITMAP bitmap)
{
    DIBSECTION section{};
    if (!bitmap || GetObjectA(bitmap, sizeof(section), &section) != sizeof(section) || section.dsBm.bmBitsPixel != 32)
        return nullptr;
    return static_cast<uint32_t*>(section.dsBm.bmBits);
}

CaptureOptions WithoutPointer(CaptureOptions options)
{
    options.m_bIncludeCursor = 0;
    return options;
}

} // namespace

CFrozenScreen::CFrozenScreen(const CaptureOptions& options)
    : m_rcBounds(VirtualScreenRect()),
      m_image(CaptureVirtualScreen(WithoutPointer(options))),
      m_dimmed(CreateCanvas(m_screenDC, SIZE{Width(m_rcBounds), Height(m_rcBounds)}, &m_pDimmedPixels)),
      m_pPixels(PixelsOf(m_image.get())),
      m_dc(m_screenDC),
      m_dimmedDC(m_screenDC),
      m_imageSelection(std::in_place, m_dc, m_image.get()),
      m_dimmedSelection(m_dimmedDC, m_dimmed.get()),
      m_layout(CScreenLayout::OfSystem(m_rcBounds))
{
    if (options.m_bIncludeCursor)
        m_pointer.emplace();
    if (IsValid())
        MakeDimmedCopy();
}

// Half brightness: light enough to recognise what lies outside the selection, dark
// enough that the selection stands out.
void CFrozenScreen::MakeDimmedCopy()
{
    GdiFlush();
    const size_t count = static_cast<size_t>(Width(m_rcBounds)) * Height(m_rcBounds);
    for (size_t i = 0; i < count; ++i)
        m_pDimmedPixels[i] = (m_pPixels[i] >> 1) & 0x7F7F7F;
}

COLORREF CFrozenScreen::PixelAt(POINT point) const
{
    if (!PtInRect(&m_rcBounds, point))
        return CLR_INVALID;
    const LONG row = point.y - m_rcBounds.top;
    const uint32_t rgb = m_pPixels[static_cast<size_t>(row) * Width(m_rcBounds) + (point.x - m_rcBounds.left)];
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

HBITMAP CFrozenScreen::Copy(const RECT& rect) const
{
    if (IsRectEmpty(&rect))
        return nullptr;
    CBitmapOwner copy(CreateCanvas(m_screenDC, SIZE{Width(rect), Height(rect)}));
    const CMemoryDC dc(m_screenDC);
    if (!copy || !dc)
        return nullptr;
    const CSelectObject selection(dc, copy.get());
    if (!selection.Succeeded()
        || !BitBlt(dc, 0, 0, Width(rect), Height(rect), m_dc, rect.left - m_rcBounds.left, rect.top - m_rcBounds.top, SRCCOPY))
        return nullptr;
    if (m_pointer)
        m_pointer->Draw(dc, POINT{rect.left, rect.top});
    SetBitmapDimensionEx(copy.get(), rect.left, rect.top, nullptr);
    return copy.release();
}

HBITMAP CFrozenScreen::TakeImage()
{
    if (!IsValid())
        return nullptr;
    if (m_pointer)
        m_pointer->Draw(m_dc, POINT{m_rcBounds.left, m_rcBounds.top});
    GdiFlush();
    m_pPixels = nullptr;
    m_imageSelection.reset();
    return m_image.release();
}

} // namespace snapcore
