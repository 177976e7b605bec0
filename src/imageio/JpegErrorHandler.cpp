#include "imageio/JpegErrorHandler.h"

namespace {

void IgnoreJpegMessage(j_common_ptr) {}

}  // namespace

void JpegErrorExit(j_common_ptr cinfo)
{
    jpeg_destroy(cinfo);
    throw "jpeg error";
}

jpeg_error_mgr* InitJpegErrorManager(jpeg_error_mgr& errorManager)
{
    jpeg_std_error(&errorManager);
    errorManager.error_exit = JpegErrorExit;
    errorManager.output_message = IgnoreJpegMessage;
    return &errorManager;
}
