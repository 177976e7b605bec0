#include "SkinFontHandle.h"

namespace snapcore {

// DEFAULT_CHARSET: the texts are in the system code page, and this makes the mapper
// pick a font for it (GB2312 on Chinese systems) when the face itself is missing.
CSkinFontHandle::CSkinFontHandle(const SkinFont& font, const CDrawScale& scale)
    : m_font(CreateFontA(-scale.Scale(font.pixelHeight), 0, 0, 0, font.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                          font.faceName))
{
}

} // namespace snapcore
