#pragma once

#include <windows.h>

#include <cstdio>

#include <jpeglib.h>

#include "imageio/JpegFileBufferSize.h"

// libjpeg's destination manager over an open Win32 file handle. The structure comes from
// the compressor's permanent pool, its buffer from the image pool. A failed or short
// write throws Vorn::CWin32Error out of the library call that caused it.
struct CJpegFileDest : jpeg_destination_mgr {
    JOCTET* m_pBuffer;
    HANDLE* m_phFile;
};

// Installs the destination manager when the compressor has none yet, and points it at *phFile.
void InstallJpegFileDest(j_compress_ptr cinfo, HANDLE* phFile);
