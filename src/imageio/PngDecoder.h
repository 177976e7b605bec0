#pragma once

#include <new>

#include <png.h>

#include "imageio/PngErrorHandler.h"

// A libpng read structure and its info structure with the program's error handler,
// destroyed on every path.
class CPngDecoder {
public:
    CPngDecoder()
        : m_png(png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngErrorExit, IgnorePngWarning)),
          m_info(m_png ? png_create_info_struct(m_png) : nullptr)
    {
        if (!m_info) {
            png_destroy_read_struct(&m_png, nullptr, nullptr);
            throw std::bad_alloc();
        }
    }
    ~CPngDecoder() { png_destroy_read_struct(&m_png, &m_info, nullptr); }
    CPngDecoder(const CPngDecoder&) = delete;
    CPngDecoder& operator=(const CPngDecoder&) = delete;

    png_structp Get() const noexcept { return m_png; }
    png_infop Info() const noexcept { return m_info; }

private:
    png_structp m_png;
    png_infop m_info;
};
