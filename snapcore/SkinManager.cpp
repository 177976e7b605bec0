#include "SkinManager.h"

#include <cstring>

#include "SkinPainter.h"
#include "SkinTable.h"

namespace snapcore {

namespace {

// The names are kept in UTF-8 and handed out in the system code page, so they read
// right on any Chinese system (and as question marks, not garbage, elsewhere).
std::string ToAnsi(const char* utf8)
{
    const int utf8Length = static_cast<int>(std::strlen(utf8));
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8, utf8Length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, utf8Length, wide.data(), wideLength);
    const int ansiLength = WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(ansiLength), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, ansi.data(), ansiLength, nullptr, nullptr);
    return ansi;
}

} // namespace

CSkinManager::CSkinManager()
{
    const int count = SkinCount();
    m_names.reserve(static_cast<size_t>(count));
    for (int index = 0; index < count; ++index)
        m_names.push_back(ToAnsi(SkinAt(index).utf8Name));
    // The entries point into m_names, which no longer grows.
    for (const std::string& name : m_names)
        m_entries.push_back(SkinEntry{name.c_str(), nullptr});
    m_entries.push_back(SkinEntry{nullptr, nullptr});
}

void __stdcall CSkinManager::Release()
{
    delete this;
}

const SkinEntry* __stdcall CSkinManager::GetSkinList(int)
{
    return m_entries.data();
}

void __stdcall CSkinManager::SelectSkin(int index, int)
{
    if (index >= 0 && index < SkinCount())
        m_nSelected = index;
}

void __stdcall CSkinManager::CalcClientRect(const RECT* frame, RECT* client)
{
    if (frame && client)
        *client = CSkinPainter(SkinAt(m_nSelected), m_scale).ClientRect(*frame);
}

int __stdcall CSkinManager::GetSkinCount()
{
    return SkinCount();
}

void __stdcall CSkinManager::DrawFrame(HDC dc, const RECT* frame, const char* caption, int flags)
{
    if (frame)
        CSkinPainter(SkinAt(m_nSelected), m_scale).DrawFrame(dc, *frame, caption, flags);
}

void __stdcall CSkinManager::DrawLabel(HDC dc, const RECT* rect, const char* text, int flags)
{
    if (rect)
        CSkinPainter(SkinAt(m_nSelected), m_scale).DrawLabel(dc, *rect, text, flags);
}

} // namespace snapcore
