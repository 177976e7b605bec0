#pragma once

#include <cstdint>
#include <string>

// Appends fixed-size little-endian fields to a byte string, for the stored formats of
// the annotations (see AnnotationCodec.cpp and AnnotatedPng.cpp).
class CLittleEndianWriter {
public:
    explicit CLittleEndianWriter(std::string& bytes) : m_bytes(bytes) {}

    void U8(uint8_t value);
    void U16(uint16_t value);
    void U32(uint32_t value);
    void U64(uint64_t value);
    void I32(int32_t value) { U32(static_cast<uint32_t>(value)); }
    // IEEE single precision, as its 32 bits.
    void F32(float value);
    // The units of the text as UTF-16LE, without a length.
    void Utf16(const std::wstring& text);
    void Bytes(const std::string& bytes) { m_bytes += bytes; }

private:
    std::string& m_bytes;
};
