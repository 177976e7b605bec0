#include "GifTestFiles.h"

#include <gtest/gtest.h>

int AppendGifBytes(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<SGifMemory*>(gif->UserData)->bytes.append(reinterpret_cast<const char*>(data), length);
    return length;
}

void PutGifTestFrame(GifFileType* gif, const SGifTestFrame& frame)
{
    GraphicsControlBlock control = {frame.disposal, false, frame.delay, frame.transparent};
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    ASSERT_EQ(GIF_OK, EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension));
    ASSERT_EQ(GIF_OK, EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, false, nullptr));
    std::vector<GifPixelType> indices = frame.indices;  // giflib takes the rows as non-const
    for (int y = 0; y < frame.height; ++y)
        ASSERT_EQ(GIF_OK, EGifPutLine(gif, indices.data() + y * frame.width, frame.width));
}

std::string GifTestFile(int width, int height, const std::vector<GifColorType>& colours, int background,
                        const std::vector<SGifTestFrame>& frames)
{
    SGifMemory memory;
    int error = 0;
    GifFileType* writer = EGifOpen(&memory, AppendGifBytes, &error);
    EXPECT_NE(nullptr, writer);
    EGifSetGifVersion(writer, true);
    ColorMapObject* palette = GifMakeMapObject(static_cast<int>(colours.size()), colours.data());
    EXPECT_EQ(GIF_OK, EGifPutScreenDesc(writer, width, height, 8, background, palette));
    GifFreeMapObject(palette);
    for (const SGifTestFrame& frame : frames)
        PutGifTestFrame(writer, frame);
    EXPECT_EQ(GIF_OK, EGifCloseFile(writer, &error));
    return memory.bytes;
}
