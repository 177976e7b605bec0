// Owns a font made from a skin's font description.
#ifndef SNAPCORE_SKINFONTHANDLE_H
#define SNAPCORE_SKINFONTHANDLE_H

#include "GdiScope.h"
#include "SkinStyle.h"

namespace snapcore {

class CSkinFontHandle : CNonCopyable {
public:
    explicit CSkinFontHandle(const SkinFont& font);
    ~CSkinFontHandle() { if (m_hFont) DeleteObject(m_hFont); }
    HFONT Get() const { return m_hFont; }
private:
    HFONT m_hFont;
};

} // namespace snapcore

#endif
