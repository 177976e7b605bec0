#pragma once

#include <windows.h>

#include <vector>

#include <png.h>

// libpng's write callbacks over a CFileReplacement's handle, through a buffer: libpng
// writes every chunk in three or more small pieces. A failed or short write throws
// Vorn::CWin32Error out of the libpng call that caused it.
class CPngFileSink {
public:
    explicit CPngFileSink(HANDLE hFile);

    // Makes this sink the one png writes to.
    void Install(png_structp png);
    // Writes out what the buffer holds; call it after png_write_end.
    void Flush();

private:
    static void WriteCallback(png_structp png, png_bytep data, size_t size);
    static void FlushCallback(png_structp png);
    void Write(const BYTE* data, size_t size);

    HANDLE m_hFile;
    std::vector<BYTE> m_buffer;
    size_t m_used = 0;
};
