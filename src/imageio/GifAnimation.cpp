#include "imageio/GifAnimation.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "imageio/CodecFailure.h"
#include "imageio/ImageSizeLimit.h"
#include "imageio/Win32File.h"
#include "util/Win32Error.h"

namespace {

// giflib reads through this; a failure cannot be thrown through the C library, so it is kept
// and the read reported short.
struct SByteSource {
    const std::string* bytes;
    size_t position = 0;
};

int ReadBytes(GifFileType* gif, GifByteType* buffer, int length)
{
    SByteSource& source = *static_cast<SByteSource*>(gif->UserData);
    const size_t count = std::min<size_t>(length, source.bytes->size() - source.position);
    std::memcpy(buffer, source.bytes->data() + source.position, count);
    source.position += count;
    return static_cast<int>(count);
}

struct SGifCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifReader = std::unique_ptr<GifFileType, SGifCloser>;

GifReader OpenReader(SByteSource& source)
{
    int error = 0;
    GifReader gif(DGifOpen(&source, ReadBytes, &error));
    if (!gif)
        throw Vorn::CWin32Error(error == D_GIF_ERR_NOT_ENOUGH_MEM ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_DATA);
    return gif;
}

void Check(int result)
{
    if (result == GIF_ERROR)
        throw Vorn::CWin32Error(ERROR_INVALID_DATA);
}

std::string ReadWholeFile(const char* path)
{
    CWin32File file;
    file.OpenForReading(path);
    const uint64_t size = file.GetSize();
    // Coded pixels are never much larger than the pixels they hold.
    if (size > kMaxImageBytes)
        throw Vorn::CWin32Error(ERROR_NOT_ENOUGH_MEMORY);
    std::string bytes(static_cast<size_t>(size), '\0');
    file.ReadExactly(&bytes[0], static_cast<DWORD>(size));
    return bytes;
}

void PaletteOf(const ColorMapObject* map, uint32_t (&palette)[256])
{
    std::fill(std::begin(palette), std::end(palette), 0u);
    for (int i = 0; map && i < std::min(map->ColorCount, 256); ++i)
        palette[i] = uint32_t(map->Colors[i].Red) << 16 | uint32_t(map->Colors[i].Green) << 8 | map->Colors[i].Blue;
}

// The row of an image the n-th coded row is, the interlaced order being four passes.
int RowOfCodedRow(int n, int height, bool interlaced)
{
    if (!interlaced)
        return n;
    static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        const int rows = height > kStart[pass] ? (height - kStart[pass] + kStep[pass] - 1) / kStep[pass] : 0;
        if (n < rows)
            return kStart[pass] + n * kStep[pass];
        n -= rows;
    }
    return n;
}

}  // namespace

bool CGifAnimation::Open(const char* path)
{
    m_frames.clear();
    m_width = m_height = 0;
    try {
        m_bytes = ReadWholeFile(path);
        SByteSource source{&m_bytes};
        GifReader gif = OpenReader(source);
        if (gif->SWidth <= 0 || gif->SHeight <= 0)
            throw Vorn::CWin32Error(ERROR_INVALID_DATA);
        if (ExceedsImageSizeLimit(gif->SWidth, gif->SHeight))
            throw Vorn::CWin32Error(ERROR_NOT_ENOUGH_MEMORY);
        m_headerLength = source.position;
        uint32_t palette[256];
        PaletteOf(gif->SColorMap, palette);
        // Clearing to "transparent" shows the background colour, as there is no alpha here.
        m_background = gif->SColorMap ? palette[gif->SBackGroundColor & 0xFF] : 0xFFFFFF;
        m_width = gif->SWidth;
        m_height = gif->SHeight;
        ReadFrames(gif.get(), source.position);
    } catch (...) {
        m_frames.clear();
        m_width = m_height = 0;
        m_bytes.clear();
        return FailWithCurrentException() != 0;
    }
    return true;
}

void CGifAnimation::ReadFrames(GifFileType* gif, size_t& position)
{
    GraphicsControlBlock control = {DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    for (;;) {
        const size_t recordStart = position;
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) {
            // A file cut off after a whole frame shows the frames it holds, as browsers do.
            if (m_frames.empty())
                Check(GIF_ERROR);
            return;
        }
        if (type == TERMINATE_RECORD_TYPE)
            return;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            Check(DGifGetExtension(gif, &code, &block));
            if (code == GRAPHICS_EXT_FUNC_CODE && block)
                Check(DGifExtensionToGCB(block[0], block + 1, &control));
            while (block)
                Check(DGifGetExtensionNext(gif, &block));
            continue;
        }
        Check(DGifGetImageDesc(gif));
        int codeSize = 0;
        GifByteType* block = nullptr;
        Check(DGifGetCode(gif, &codeSize, &block));
        while (block)
            Check(DGifGetCodeNext(gif, &block));
        const GifImageDesc& image = gif->Image;
        SFrame frame;
        frame.offset = recordStart;
        frame.length = position - recordStart;
        frame.rect = {std::min(image.Left, m_width), std::min(image.Top, m_height),
                      std::min(image.Left + image.Width, m_width), std::min(image.Top + image.Height, m_height)};
        frame.transparent = control.TransparentColor;
        frame.disposal = control.DisposalMode;
        frame.delayCs = control.DelayTime;
        m_frames.push_back(frame);
        control = {DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    }
}

DWORD CGifAnimation::DurationMs() const
{
    DWORD sum = 0;
    for (const SFrame& frame : m_frames)
        sum += DWORD(frame.delayCs) * 10;
    return sum;
}

void CGifAnimation::Dispose(const SFrame& frame, uint32_t* canvas) const
{
    const RECT& r = frame.rect;
    for (LONG y = r.top; y < r.bottom; ++y) {
        uint32_t* row = canvas + size_t(y) * m_width;
        if (frame.disposal == DISPOSE_BACKGROUND)
            std::fill(row + r.left, row + r.right, m_background);
        else if (frame.disposal == DISPOSE_PREVIOUS)
            std::copy_n(m_underLast.data() + size_t(y - r.top) * (r.right - r.left), r.right - r.left, row + r.left);
    }
}

void CGifAnimation::DrawFrame(int index, uint32_t* canvas)
{
    if (index == 0)
        std::fill_n(canvas, size_t(m_width) * m_height, m_background);
    else
        Dispose(m_frames[index - 1], canvas);
    const SFrame& frame = m_frames[index];
    const RECT& r = frame.rect;
    if (frame.disposal == DISPOSE_PREVIOUS) {
        m_underLast.resize(size_t(std::max(0L, r.right - r.left)) * std::max(0L, r.bottom - r.top));
        for (LONG y = r.top; y < r.bottom; ++y)
            std::copy_n(canvas + size_t(y) * m_width + r.left, r.right - r.left,
                        m_underLast.data() + size_t(y - r.top) * (r.right - r.left));
    }
    // The frame alone after the header, so that giflib decodes it as a one-frame file.
    std::string bytes = m_bytes.substr(0, m_headerLength);
    bytes.append(m_bytes, frame.offset, frame.length);
    bytes.push_back(';');
    SByteSource source{&bytes};
    try {
        GifReader gif = OpenReader(source);
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        Check(DGifGetRecordType(gif.get(), &type));
        Check(DGifGetImageDesc(gif.get()));
        const GifImageDesc& image = gif->Image;
        uint32_t palette[256];
        PaletteOf(image.ColorMap ? image.ColorMap : gif->SColorMap, palette);
        std::vector<GifPixelType> line(image.Width);
        for (int n = 0; n < image.Height; ++n) {
            Check(DGifGetLine(gif.get(), line.data(), image.Width));
            const int y = image.Top + RowOfCodedRow(n, image.Height, image.Interlace);
            if (y < r.top || y >= r.bottom)
                continue;
            uint32_t* row = canvas + size_t(y) * m_width;
            for (LONG x = r.left; x < r.right; ++x) {
                const GifPixelType index = line[x - image.Left];
                if (index != frame.transparent)
                    row[x] = palette[index];
            }
        }
    } catch (...) {
        // Damaged coded pixels: the rows that came before stay drawn, as viewers show them.
    }
}
