// Owns a font made from a skin's font description.
#ifndef SNAPCORE_SKINFONTHANDLE_H
#define SNAPCORE_SKINFONTHANDLE_H

#include "SkinStyle.h"

#include "scoped/ScopedHandles.h"

namespace snapcore {

class CSkinFontHandle : CNonCopyable {
public:
    explicit CSkinFontHandle(const SkinFont& font);
    HFONT Get() const { return m_font.get(); }
private:
    CFontOwner m_font;
};

} // namespace snapcore

#endif
