#pragma once
#include <windows.h>

#include <gdiplus.h>

#include <map>
#include <memory>
#include <string>

#include "scoped/NonCopyable.h"

// The fonts of the text marks and step numbers during one drawing or measurement, each
// face looked up once. An empty face is the system's UI font (the message font, a
// Chinese one on a Chinese system); a face GDI+ does not list, such as a substitute
// name, is taken as the font GDI maps it to.
class CAnnotationFonts : CNonCopyable {
public:
    CAnnotationFonts();

    // A font of the face, size pixels high (pixels of the world it is drawn in).
    std::unique_ptr<Gdiplus::Font> Create(const std::wstring& face, float size, INT style = Gdiplus::FontStyleRegular);
    // The layout of every text: typographic (no padding around the ink), no wrapping,
    // trailing spaces counted, so that a measured box is where drawing puts the text.
    const Gdiplus::StringFormat& Layout() const { return m_layout; }

private:
    const Gdiplus::FontFamily& Family(const std::wstring& face);

    std::map<std::wstring, std::unique_ptr<Gdiplus::FontFamily>> m_families;
    Gdiplus::StringFormat m_layout;
};
