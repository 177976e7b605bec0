#pragma once

#include <windows.h>

#include <vector>

#include <png.h>

class CWin32File;

// libpng's read callback over an open file, through a buffer, or over bytes already in
// memory: libpng asks for a few bytes at a time (every chunk's length, type and
// checksum), which would otherwise each cost a system call. Input that ends early throws
// ERROR_HANDLE_EOF, a failed read the system's error.
class CPngFileSource {
public:
    explicit CPngFileSource(CWin32File& file);
    // The bytes stay the caller's and must outlive the source.
    CPngFileSource(const BYTE* data, size_t size);

    // Makes this source the one png reads from.
    void Install(png_structp png);

private:
    static void ReadCallback(png_structp png, png_bytep data, size_t size);
    void Read(BYTE* data, size_t size);

    CWin32File* m_pFile = nullptr;  // null: all the input is at m_pData
    std::vector<BYTE> m_buffer;
    const BYTE* m_pData = nullptr;
    size_t m_position = 0;
    size_t m_end = 0;
};
