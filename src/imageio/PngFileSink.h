#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <png.h>

// libpng's write callbacks through a buffer, into a CFileReplacement's handle or onto the
// end of a string (a PNG stream kept in memory): libpng writes every chunk in three or
// more small pieces. A failed or short file write throws Vorn::CWin32Error out of the
// libpng call that caused it.
class CPngFileSink {
public:
    explicit CPngFileSink(HANDLE hFile);
    explicit CPngFileSink(std::string& bytes);

    // Makes this sink the one png writes to.
    void Install(png_structp png);
    // Writes out what the buffer holds; call it after png_write_end.
    void Flush();

private:
    static void WriteCallback(png_structp png, png_bytep data, size_t size);
    static void FlushCallback(png_structp png);
    void Write(const BYTE* data, size_t size);
    void Deliver(const BYTE* data, size_t size);

    HANDLE m_hFile = nullptr;
    std::string* m_pBytes = nullptr;
    std::vector<BYTE> m_buffer;
    size_t m_used = 0;
};
