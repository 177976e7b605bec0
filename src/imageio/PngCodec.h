#pragma once

#include <new>

#include <png.h>

#include "imageio/PngErrorHandler.h"

// A libpng read or write structure and its info structure with the program's error
// handler, destroyed on every path.
class CPngCodec {
public:
    enum Direction { kRead, kWrite };

    explicit CPngCodec(Direction direction)
        : m_direction(direction),
          m_png(direction == kRead
                    ? png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngErrorExit, IgnorePngWarning)
                    : png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngErrorExit, IgnorePngWarning)),
          m_info(m_png ? png_create_info_struct(m_png) : nullptr)
    {
        if (!m_info) {
            Destroy();
            throw std::bad_alloc();
        }
    }
    ~CPngCodec() { Destroy(); }
    CPngCodec(const CPngCodec&) = delete;
    CPngCodec& operator=(const CPngCodec&) = delete;

    png_structp Get() const noexcept { return m_png; }
    png_infop Info() const noexcept { return m_info; }

private:
    void Destroy() noexcept
    {
        if (m_direction == kRead)
            png_destroy_read_struct(&m_png, &m_info, nullptr);
        else
            png_destroy_write_struct(&m_png, &m_info);
    }

    Direction m_direction;
    png_structp m_png;
    png_infop m_info;
};
