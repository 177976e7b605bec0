#pragma once

#include <new>

#include <png.h>

#include "imageio/PngErrorHandler.h"

// A libpng write structure and its info structure with the program's error handler,
// destroyed on every path.
class CPngEncoder {
public:
    CPngEncoder()
        : m_png(png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngErrorExit, IgnorePngWarning)),
          m_info(m_png ? png_create_info_struct(m_png) : nullptr)
    {
        if (!m_info) {
            png_destroy_write_struct(&m_png, nullptr);
            throw std::bad_alloc();
        }
    }
    ~CPngEncoder() { png_destroy_write_struct(&m_png, &m_info); }
    CPngEncoder(const CPngEncoder&) = delete;
    CPngEncoder& operator=(const CPngEncoder&) = delete;

    png_structp Get() const noexcept { return m_png; }
    png_infop Info() const noexcept { return m_info; }

private:
    png_structp m_png;
    png_infop m_info;
};
