#pragma once
#include <windows.h>

#include <gdiplus.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "scoped/NonCopyable.h"

// The fonts of the text marks and step numbers during one drawing or measurement, each
// face looked up once. An empty face is the system's UI font (the message font, a
// Chinese one on a Chinese system); a face GDI+ does not list, such as a substitute
// name, is taken as the font GDI maps it to, and one GDI+ cannot make at all as the
// default face.
class CAnnotationFonts : CNonCopyable {
public:
    CAnnotationFonts();

    // A font of the face, size pixels high (pixels of the world it is drawn in), made
    // once for all the marks that use it.
    const Gdiplus::Font& Get(const std::wstring& face, float size, INT style = Gdiplus::FontStyleRegular);
    // The layout of every text: typographic (no padding around the ink), no wrapping,
    // trailing spaces counted, so that a measured box is where drawing puts the text.
    const Gdiplus::StringFormat& Layout() const { return m_layout; }
    // The same, centred both ways in a box.
    const Gdiplus::StringFormat& Centred() const { return m_centred; }

private:
    struct FontKey {
        std::wstring face;
        float size;
        INT style;
        bool operator<(const FontKey& other) const
        {
            return std::tie(face, size, style) < std::tie(other.face, other.size, other.style);
        }
    };
    const Gdiplus::FontFamily& Family(const std::wstring& face);

    std::map<std::wstring, std::unique_ptr<Gdiplus::FontFamily>> m_families;
    std::map<FontKey, std::unique_ptr<Gdiplus::Font>> m_fonts;
    Gdiplus::StringFormat m_layout;
    Gdiplus::StringFormat m_centred;
};
