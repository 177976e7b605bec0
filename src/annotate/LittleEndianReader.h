#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Reads fixed-size little-endian fields from a byte string without ever reading past
// its end. A read that does not fit fails the reader for good: it and every later read
// give 0 (or an empty string) and Failed() says so, so a decoder may read a group of
// fields and check once. Lengths read from the bytes are checked against Remaining()
// by the caller before anything is allocated for them.
class CLittleEndianReader {
public:
    explicit CLittleEndianReader(const std::string& bytes) : m_bytes(bytes) {}

    uint8_t U8();
    uint16_t U16();
    uint32_t U32();
    uint64_t U64();
    int32_t I32() { return static_cast<int32_t>(U32()); }
    float F32();
    // units UTF-16LE units, as a wide string.
    std::wstring Utf16(size_t units);
    std::string Bytes(size_t count);

    bool Failed() const { return m_bFailed; }
    size_t Remaining() const { return m_bytes.size() - m_position; }
    bool AtEnd() const { return !m_bFailed && m_position == m_bytes.size(); }

private:
    // True, and the position moved past them, when count more bytes are there.
    bool Take(size_t count);

    const std::string& m_bytes;
    size_t m_position = 0;
    bool m_bFailed = false;
};
