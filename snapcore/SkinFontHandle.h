// Owns a font made from a skin's font description, at the scale's DPI.
#ifndef SNAPCORE_SKINFONTHANDLE_H
#define SNAPCORE_SKINFONTHANDLE_H

#include "DrawScale.h"
#include "SkinStyle.h"

#include "scoped/ScopedHandles.h"

namespace snapcore {

class CSkinFontHandle : CNonCopyable {
public:
    CSkinFontHandle(const SkinFont& font, const CDrawScale& scale);
    HFONT Get() const { return m_font.get(); }
private:
    CFontOwner m_font;
};

} // namespace snapcore

#endif
