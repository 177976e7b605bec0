#include "annotate/LittleEndianReader.h"

#include <cstring>

bool CLittleEndianReader::Take(size_t count)
{
    if (m_bFailed || count > Remaining()) {
        m_bFailed = true;
        return false;
    }
    m_position += count;
    return true;
}

uint8_t CLittleEndianReader::U8()
{
    return Take(1) ? static_cast<uint8_t>(m_bytes[m_position - 1]) : 0;
}

uint16_t CLittleEndianReader::U16()
{
    const uint16_t low = U8();
    return static_cast<uint16_t>(low | (U8() << 8));
}

uint32_t CLittleEndianReader::U32()
{
    const uint32_t low = U16();
    return low | (uint32_t{U16()} << 16);
}

uint64_t CLittleEndianReader::U64()
{
    const uint64_t low = U32();
    return low | (uint64_t{U32()} << 32);
}

float CLittleEndianReader::F32()
{
    const uint32_t bits = U32();
    float value = 0;
    memcpy(&value, &bits, sizeof value);
    return value;
}

std::wstring CLittleEndianReader::Utf16(size_t units)
{
    if (units > Remaining() / 2) {
        m_bFailed = true;
        return {};
    }
    std::wstring text(units, L'\0');
    for (wchar_t& unit : text)
        unit = static_cast<wchar_t>(U16());
    return text;
}

std::string CLittleEndianReader::Bytes(size_t count)
{
    if (!Take(count))
        return {};
    return m_bytes.substr(m_position - count, count);
}
