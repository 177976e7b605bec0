#include "annotate/LittleEndianWriter.h"

#include <cstring>

void CLittleEndianWriter::U8(uint8_t value)
{
    m_bytes += static_cast<char>(value);
}

void CLittleEndianWriter::U16(uint16_t value)
{
    U8(static_cast<uint8_t>(value));
    U8(static_cast<uint8_t>(value >> 8));
}

void CLittleEndianWriter::U32(uint32_t value)
{
    U16(static_cast<uint16_t>(value));
    U16(static_cast<uint16_t>(value >> 16));
}

void CLittleEndianWriter::U64(uint64_t value)
{
    U32(static_cast<uint32_t>(value));
    U32(static_cast<uint32_t>(value >> 32));
}

void CLittleEndianWriter::F32(float value)
{
    static_assert(sizeof(float) == sizeof(uint32_t), "IEEE single precision");
    uint32_t bits = 0;
    memcpy(&bits, &value, sizeof bits);
    U32(bits);
}

void CLittleEndianWriter::Utf16(const std::wstring& text)
{
    static_assert(sizeof(wchar_t) == 2, "Windows' wide characters are UTF-16 units");
    for (wchar_t unit : text)
        U16(static_cast<uint16_t>(unit));
}
