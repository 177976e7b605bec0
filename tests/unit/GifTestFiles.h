#pragma once

#include <gif_lib.h>

#include <string>
#include <vector>

// GIF files put together through giflib's own writer, frame by frame, for layouts that the
// program does not write itself.
struct SGifMemory {
    std::string bytes;
    size_t readAt = 0;
};
int AppendGifBytes(GifFileType* gif, const GifByteType* data, int length);

struct SGifTestFrame {
    int left, top, width, height;
    int delay;
    int transparent;
    std::vector<GifPixelType> indices;
    int disposal = DISPOSE_DO_NOT;
};
// Its control extension and image, with the indices top-down and no local colour table.
void PutGifTestFrame(GifFileType* gif, const SGifTestFrame& frame);

// A whole file of a screen with the global colour table and background index, and frames.
std::string GifTestFile(int width, int height, const std::vector<GifColorType>& colours, int background,
                        const std::vector<SGifTestFrame>& frames);
