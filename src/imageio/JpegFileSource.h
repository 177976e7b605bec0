#pragma once

#include <windows.h>

#include <cstdio>

#include <jpeglib.h>

#include "imageio/JpegFileBufferSize.h"

// libjpeg's source manager over an open Win32 file handle. The structure and its buffer
// come from the decompressor's permanent pool and die with it.
struct CJpegFileSource : jpeg_source_mgr {
    JOCTET* m_pBuffer;
    boolean m_bStartOfFile;
    HANDLE* m_phFile;
    // Set when the file ended before its end-of-image marker.
    bool m_bEndedEarly;
};

// Installs the source manager when the decompressor has none yet, and points it at *phFile.
void InstallJpegFileSource(j_decompress_ptr cinfo, HANDLE* phFile);
