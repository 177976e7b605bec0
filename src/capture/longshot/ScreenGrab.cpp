#include "capture/longshot/ScreenGrab.h"

#include "imageio/TopDownDib.h"

bool CScreenGrab::Create(const RECT& screenRect)
{
    m_rect = screenRect;
    DWORD* pixels = nullptr;
    m_bitmap = CreateTopDownDib(Width(), Height(), pixels);
    m_pixels = reinterpret_cast<const uint32_t*>(pixels);
    if (!m_bitmap || !m_dc)
        return false;
    SelectObject(m_dc, m_bitmap.get());
    return true;
}

bool CScreenGrab::Grab()
{
    const CScreenDC screen;
    const bool copied = BitBlt(m_dc, 0, 0, Width(), Height(), screen, m_rect.left, m_rect.top, SRCCOPY) != 0;
    GdiFlush();
    return copied;
}

uint64_t CScreenGrab::Fingerprint() const
{
    uint64_t hash = 0xCBF29CE484222325u;
    const size_t count = static_cast<size_t>(Width()) * Height();
    for (size_t i = 0; i < count; ++i)
        hash = (hash ^ m_pixels[i]) * 0x100000001B3u;
    return hash;
}
