#include <gtest/gtest.h>

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "GifTestFiles.h"

namespace {

int TakeBytes(GifFileType* gif, GifByteType* data, int length)
{
    SGifMemory& memory = *static_cast<SGifMemory*>(gif->UserData);
    const int count = static_cast<int>(std::min<size_t>(length, memory.bytes.size() - memory.readAt));
    std::memcpy(data, memory.bytes.data() + memory.readAt, count);
    memory.readAt += count;
    return count;
}

// The loop count of a NETSCAPE2.0 block among the extensions read before an image; -1 when absent.
int LoopCount(const SavedImage& image)
{
    for (int i = 0; i + 1 < image.ExtensionBlockCount; ++i) {
        const ExtensionBlock& block = image.ExtensionBlocks[i];
        const ExtensionBlock& data = image.ExtensionBlocks[i + 1];
        if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
            std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0 && data.ByteCount == 3 && data.Bytes[0] == 1)
            return data.Bytes[1] | data.Bytes[2] << 8;
    }
    return -1;
}

}  // namespace

// The library as built for this program: an endless two-frame animation written through
// the sequential writer comes back from the reader with its palette, frames and delays.
TEST(GifLibrary, WritesAndReadsBackALoopingAnimation)
{
    const GifColorType colours[4] = {{0, 0, 0}, {255, 0, 0}, {0, 128, 255}, {255, 255, 255}};
    const SGifTestFrame frames[2] = {
        {0, 0, 4, 3, 10, -1, {0, 1, 2, 3, 3, 2, 1, 0, 1, 1, 2, 2}},
        {1, 1, 2, 2, 25, 3, {2, 3, 3, 1}},
    };

    SGifMemory memory;
    int error = 0;
    GifFileType* writer = EGifOpen(&memory, AppendGifBytes, &error);
    ASSERT_NE(nullptr, writer) << GifErrorString(error);
    EGifSetGifVersion(writer, true);
    ColorMapObject* palette = GifMakeMapObject(4, colours);
    ASSERT_EQ(GIF_OK, EGifPutScreenDesc(writer, 4, 3, 8, 0, palette));
    GifFreeMapObject(palette);
    const GifByteType loopForever[3] = {1, 0, 0};
    ASSERT_EQ(GIF_OK, EGifPutExtensionLeader(writer, APPLICATION_EXT_FUNC_CODE));
    ASSERT_EQ(GIF_OK, EGifPutExtensionBlock(writer, 11, "NETSCAPE2.0"));
    ASSERT_EQ(GIF_OK, EGifPutExtensionBlock(writer, 3, loopForever));
    ASSERT_EQ(GIF_OK, EGifPutExtensionTrailer(writer));
    for (const SGifTestFrame& frame : frames)
        PutGifTestFrame(writer, frame);
    ASSERT_EQ(GIF_OK, EGifCloseFile(writer, &error)) << GifErrorString(error);
    ASSERT_EQ("GIF89a", memory.bytes.substr(0, 6));

    GifFileType* reader = DGifOpen(&memory, TakeBytes, &error);
    ASSERT_NE(nullptr, reader) << GifErrorString(error);
    ASSERT_EQ(GIF_OK, DGifSlurp(reader)) << GifErrorString(reader->Error);
    EXPECT_EQ(4, reader->SWidth);
    EXPECT_EQ(3, reader->SHeight);
    ASSERT_NE(nullptr, reader->SColorMap);
    ASSERT_EQ(4, reader->SColorMap->ColorCount);
    EXPECT_EQ(0, std::memcmp(colours, reader->SColorMap->Colors, sizeof colours));
    ASSERT_EQ(2, reader->ImageCount);
    EXPECT_EQ(0, LoopCount(reader->SavedImages[0]));
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const SGifTestFrame& frame = frames[i];
        const SavedImage& image = reader->SavedImages[i];
        EXPECT_EQ(frame.left, image.ImageDesc.Left);
        EXPECT_EQ(frame.top, image.ImageDesc.Top);
        ASSERT_EQ(frame.width, image.ImageDesc.Width);
        ASSERT_EQ(frame.height, image.ImageDesc.Height);
        EXPECT_EQ(frame.indices, std::vector<GifPixelType>(image.RasterBits, image.RasterBits + frame.indices.size()));
        GraphicsControlBlock control = {};
        ASSERT_EQ(GIF_OK, DGifSavedExtensionToGCB(reader, i, &control));
        EXPECT_EQ(frame.delay, control.DelayTime);
        EXPECT_EQ(frame.transparent, control.TransparentColor);
        EXPECT_EQ(DISPOSE_DO_NOT, control.DisposalMode);
    }
    EXPECT_EQ(GIF_OK, DGifCloseFile(reader, &error));
}
