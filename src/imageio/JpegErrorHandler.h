#pragma once

#include <cstdio>

#include <jpeglib.h>

// Fatal library errors: destroys the library object, then throws the text "jpeg error".
// The library is built with -fexceptions, so the throw may cross its frames.
[[noreturn]] void JpegErrorExit(j_common_ptr cinfo);

// jpeg_std_error with JpegErrorExit and a silent output_message: warnings are counted
// by the library but never shown. Returns errorManager for the object's err field.
jpeg_error_mgr* InitJpegErrorManager(jpeg_error_mgr& errorManager);
