#pragma once

#include <cstdio>

#include <jpeglib.h>

#include "imageio/JpegErrorHandler.h"

// A libjpeg decompressor with the program's error handler, destroyed on every path.
// After a fatal error the handler has destroyed it already; destroying twice is harmless.
class CJpegDecompressor {
public:
    CJpegDecompressor()
    {
        m_info.err = InitJpegErrorManager(m_errorManager);
        jpeg_create_decompress(&m_info);
    }
    ~CJpegDecompressor() { jpeg_destroy_decompress(&m_info); }
    CJpegDecompressor(const CJpegDecompressor&) = delete;
    CJpegDecompressor& operator=(const CJpegDecompressor&) = delete;

    jpeg_decompress_struct* operator->() noexcept { return &m_info; }
    jpeg_decompress_struct* Get() noexcept { return &m_info; }

private:
    jpeg_error_mgr m_errorManager;
    jpeg_decompress_struct m_info = {};
};
