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
      m_pPixels(PixelsOf(m_image.get())),
      m_dc(m_screenDC),
      m_imageSelection(std::in_place, m_dc, m_image.get()),
      m_layout(CScreenLayout::OfSystem(m_rcBounds))
{
    if (options.m_bIncludeCursor)
        m_pointer.emplace();
    GdiFlush(); // the pixels are read directly from here on
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
