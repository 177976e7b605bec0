#pragma once

#include <cstdio>

#include <jpeglib.h>

#include "imageio/JpegErrorHandler.h"

// A libjpeg compressor with the program's error handler, destroyed on every path.
// After a fatal error the handler has destroyed it already; destroying twice is harmless.
class CJpegCompressor {
public:
    CJpegCompressor()
    {
        m_info.err = InitJpegErrorManager(m_errorManager);
        jpeg_create_compress(&m_info);
    }
    ~CJpegCompressor() { jpeg_destroy_compress(&m_info); }
    CJpegCompressor(const CJpegCompressor&) = delete;
    CJpegCompressor& operator=(const CJpegCompressor&) = delete;

    jpeg_compress_struct* operator->() noexcept { return &m_info; }
    jpeg_compress_struct* Get() noexcept { return &m_info; }

private:
    jpeg_error_mgr m_errorManager;
    jpeg_compress_struct m_info = {};
};
