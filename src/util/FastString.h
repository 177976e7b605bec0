#pragma once

#include <windows.h>

#include <cassert>
#include <cstdint>
#include <cstring>

namespace Vorn {

// A string of at most N bytes stored inside the object. Overflow throws instead of
// growing. The length is authoritative, so the bytes may contain zeros: that is how
// the common file dialogs' double-zero-terminated filter lists are built.
template <uint32_t N>
class CFastString {
public:
    struct COverflow {};

    CFastString() noexcept = default;

    // Loads a string-table entry of the program's module; a missing entry leaves the
    // string empty. Never throws. (<windows.h> renames this member to LoadStringA in
    // every file that includes this header, consistently.)
    void LoadString(UINT id) noexcept
    {
        // N + 1 bytes of room so that a text of exactly N bytes still fits.
        int nCount = ::LoadStringA(::GetModuleHandleA(nullptr), id, m_szText, N + 1);
        m_nLength = (nCount >= 1 && static_cast<uint32_t>(nCount) <= N) ? static_cast<uint32_t>(nCount) : 0;
        m_szText[m_nLength] = '\0';
    }

    // Appends count bytes of text; throws COverflow and changes nothing when they do not fit.
    void Append(const char* text, size_t count)
    {
        if (count > N - m_nLength)
            throw COverflow();
        std::memmove(m_szText + m_nLength, text, count);
        m_nLength += static_cast<uint32_t>(count);
        m_szText[m_nLength] = '\0';
    }

    void Append(const char* text) { Append(text, std::strlen(text)); }

    void Append(char ch) { Append(&ch, 1); }

    // Writing is allowed only below the length; the zero after the end must stay.
    char& operator[](uint32_t nIndex) noexcept
    {
        assert(nIndex < m_nLength);
        return m_szText[nIndex];
    }

    char operator[](uint32_t nIndex) const noexcept
    {
        assert(nIndex <= m_nLength);
        return m_szText[nIndex];
    }

    const char* GetString() const noexcept { return m_szText; }
    uint32_t GetLength() const noexcept { return m_nLength; }

private:
    uint32_t m_nLength = 0;
    char m_szText[N + 1] = {};
};

}  // namespace Vorn
