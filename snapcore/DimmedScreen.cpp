#include "DimmedScreen.h"

#include <cstdint>

#include "FrozenScreen.h"
#include "GdiDrawing.h"

namespace snapcore {
namespace {

HBITMAP MakeDimmedCopy(HDC screenDC, const CFrozenScreen& screen)
{
    const RECT bounds = screen.Bounds();
    uint32_t* dimmed = nullptr;
    HBITMAP image = CreateCanvas(screenDC, SIZE{Width(bounds), Height(bounds)}, &dimmed);
    if (!image)
        return nullptr;
    const uint32_t* frozen = screen.Pixels();
    const size_t count = static_cast<size_t>(Width(bounds)) * Height(bounds);
    for (size_t i = 0; i < count; ++i)
        dimmed[i] = (frozen[i] >> 1) & 0x7F7F7F;
    return image;
}

} // namespace

CDimmedScreen::CDimmedScreen(const CFrozenScreen& screen)
    : m_image(MakeDimmedCopy(m_screenDC, screen)), m_dc(m_screenDC), m_selection(m_dc, m_image.get())
{
}

} // namespace snapcore
