#include "annotate/AnnotationFonts.h"

#include <cwchar>

#include "annotate/DefaultFontFace.h"
#include "scoped/ScopedHandles.h"

namespace {

// The family of the font GDI picks for the face: the message font is often a
// substitute name ("MS Shell Dlg") that only GDI resolves. Null when GDI+ cannot make
// a font of it (a vertical "@" face, a name nothing maps to).
std::unique_ptr<Gdiplus::FontFamily> MappedFamily(const std::wstring& face)
{
    LOGFONTW logFont{};
    logFont.lfHeight = -16;
    logFont.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(logFont.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    const CMemoryDC dc(nullptr);
    const Gdiplus::Font font(dc, &logFont);
    Gdiplus::FontFamily family;
    if (font.GetLastStatus() == Gdiplus::Ok && font.GetFamily(&family) == Gdiplus::Ok && family.IsAvailable())
        return std::unique_ptr<Gdiplus::FontFamily>(family.Clone());
    return nullptr;
}

std::unique_ptr<Gdiplus::FontFamily> AvailableFamily(const std::wstring& face)
{
    auto family = std::make_unique<Gdiplus::FontFamily>(face.c_str());
    return family->IsAvailable() ? std::move(family) : MappedFamily(face);
}

// The last resort, which some GDI+ implementations lack: then an empty family, whose
// fonts draw nothing rather than fail.
std::unique_ptr<Gdiplus::FontFamily> GenericFamily()
{
    const Gdiplus::FontFamily* generic = Gdiplus::FontFamily::GenericSansSerif();
    return std::unique_ptr<Gdiplus::FontFamily>(generic ? generic->Clone() : new Gdiplus::FontFamily());
}

}  // namespace

CAnnotationFonts::CAnnotationFonts()
    : m_layout(Gdiplus::StringFormat::GenericTypographic()), m_centred(Gdiplus::StringFormat::GenericTypographic())
{
    for (Gdiplus::StringFormat* format : {&m_layout, &m_centred})
        format->SetFormatFlags(format->GetFormatFlags() | Gdiplus::StringFormatFlagsNoWrap |
                               Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
    m_centred.SetAlignment(Gdiplus::StringAlignmentCenter);
    m_centred.SetLineAlignment(Gdiplus::StringAlignmentCenter);
}

const Gdiplus::Font& CAnnotationFonts::Get(const std::wstring& face, float size, INT style)
{
    std::unique_ptr<Gdiplus::Font>& font = m_fonts[FontKey{face, size, style}];
    if (!font)
        font = std::make_unique<Gdiplus::Font>(&Family(face), size, style, Gdiplus::UnitPixel);
    return *font;
}

const Gdiplus::FontFamily& CAnnotationFonts::Family(const std::wstring& face)
{
    std::unique_ptr<Gdiplus::FontFamily>& family = m_families[face];
    if (!family) {
        // A face from a settings file or a saved mark that GDI+ cannot make is drawn in
        // the default face.
        if (!face.empty())
            family = AvailableFamily(face);
        if (!family)
            family = AvailableFamily(DefaultFontFace());
        if (!family)
            family = GenericFamily();
    }
    return *family;
}
