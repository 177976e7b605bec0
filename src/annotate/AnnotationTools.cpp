#include "annotate/AnnotationTools.h"

#include <cwchar>
#include <string>

#include "util/UnicodeProfile.h"

const COLORREF g_annotationPresetColours[8] = {
    RGB(255, 0, 0),   RGB(255, 128, 0), RGB(255, 230, 0), RGB(0, 170, 0),
    RGB(0, 102, 255), RGB(160, 0, 200), RGB(0, 0, 0),     RGB(255, 255, 255),
};

namespace {
const wchar_t kSection[] = L"Annotate";

template <typename T>
T Clamp(T value, T low, T high)
{
    return value < low ? low : value > high ? high : value;
}

std::wstring WidePath(const char* path)
{
    wchar_t wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH))
        return std::wstring();
    return wide;
}

// A whole number, or fallback when the value is missing, empty, too long for any
// number (it would come cut) or has anything else.
long ReadNumber(const std::wstring& path, const wchar_t* key, long fallback, int base = 10)
{
    wchar_t text[32];
    if (GetPrivateProfileStringW(kSection, key, L"", text, 32, path.c_str()) >= 31)
        return fallback;
    wchar_t* end = nullptr;
    const long value = wcstol(text, &end, base);
    return end == text || *end ? fallback : value;
}

bool HasAnsiForm(const std::wstring& text)
{
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, &lossy);
    return !lossy;
}

bool WriteValue(const std::wstring& path, const wchar_t* key, const std::wstring& value)
{
    return WritePrivateProfileStringW(kSection, key, value.c_str(), path.c_str()) != 0;
}

std::wstring Hex(COLORREF colour)
{
    wchar_t text[16];
    swprintf(text, 16, L"%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return text;
}

COLORREF ReadColour(const std::wstring& path, const wchar_t* key, COLORREF fallback)
{
    const long value = ReadNumber(path, key, -1, 16);
    if (value < 0 || value > 0xFFFFFF)
        return fallback;
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}
}

void CAnnotationTools::SetTool(AnnotationTool tool)
{
    m_tool = tool;
    Changed(0);
}

AnnotationStyle CAnnotationTools::StyleFor(AnnotationKind kind) const
{
    AnnotationStyle style = m_style;
    if (kind == AnnotationKind::kRedact)
        style.colour = m_redactColour;
    return style;
}

COLORREF CAnnotationTools::Colour() const
{
    return m_tool == AnnotationTool::kRedact ? m_redactColour : m_style.colour;
}

void CAnnotationTools::SetColour(COLORREF colour)
{
    (m_tool == AnnotationTool::kRedact ? m_redactColour : m_style.colour) = colour & 0xFFFFFF;
    Changed(kPropertyColour);
}

void CAnnotationTools::SetWidth(float width)
{
    m_style.width = Clamp(width, 1.0f, 20.0f);
    Changed(kPropertyWidth);
}

void CAnnotationTools::SetFill(AnnotationFill fill)
{
    m_style.fill = fill;
    Changed(kPropertyFill);
}

void CAnnotationTools::SetFont(const std::wstring& face, float size)
{
    m_style.fontFace = face.substr(0, LF_FACESIZE - 1);
    m_style.fontSize = Clamp(size, 6.0f, 200.0f);
    Changed(kPropertyFont);
}

void CAnnotationTools::SetMosaicBlock(int block)
{
    m_style.mosaicBlock = Clamp(block, 4, 32);
    Changed(kPropertyMosaicBlock);
}

void CAnnotationTools::Changed(unsigned properties)
{
    if (m_observer)
        m_observer(properties);
}

void CAnnotationTools::Load(const char* iniPath)
{
    const std::wstring path = WidePath(iniPath);
    const AnnotationStyle defaults;
    m_style.colour = ReadColour(path, L"Colour", defaults.colour);
    m_redactColour = ReadColour(path, L"RedactColour", RGB(0, 0, 0));
    const long width = ReadNumber(path, L"Width", 3);
    m_style.width = width >= 1 && width <= 20 ? static_cast<float>(width) : defaults.width;
    const long fill = ReadNumber(path, L"Fill", 0);
    m_style.fill = static_cast<AnnotationFill>(fill >= 0 && fill <= 2 ? fill : 0);
    // One character more than a face name may have: a longer one is no face, not a cut one.
    wchar_t face[LF_FACESIZE + 1];
    const DWORD faceLength = GetPrivateProfileStringW(kSection, L"FontFace", L"", face, LF_FACESIZE + 1, path.c_str());
    m_style.fontFace = faceLength < LF_FACESIZE ? face : defaults.fontFace;
    const long size = ReadNumber(path, L"FontSize", 16);
    m_style.fontSize = size >= 6 && size <= 200 ? static_cast<float>(size) : defaults.fontSize;
    const long block = ReadNumber(path, L"MosaicBlock", 12);
    m_style.mosaicBlock = block >= 4 && block <= 32 ? static_cast<int>(block) : defaults.mosaicBlock;
}

bool CAnnotationTools::Save(const char* iniPath) const
{
    const std::wstring path = WidePath(iniPath);
    // An ANSI file would keep a face from another script as question marks.
    if (!HasAnsiForm(m_style.fontFace) && !MakeProfileUnicode(iniPath))
        return false;
    return WriteValue(path, L"Colour", Hex(m_style.colour)) && WriteValue(path, L"RedactColour", Hex(m_redactColour)) &&
           WriteValue(path, L"Width", std::to_wstring(static_cast<int>(m_style.width))) &&
           WriteValue(path, L"Fill", std::to_wstring(static_cast<int>(m_style.fill))) &&
           WriteValue(path, L"FontFace", m_style.fontFace) &&
           WriteValue(path, L"FontSize", std::to_wstring(static_cast<int>(m_style.fontSize))) &&
           WriteValue(path, L"MosaicBlock", std::to_wstring(m_style.mosaicBlock));
}
