#include "imageio/JpegFile.h"

#include <new>
#include <vector>

#include "imageio/CodecFailure.h"
#include "imageio/Dib.h"
#include "imageio/DibRowCursor.h"
#include "imageio/ImageFileWrite.h"
#include "imageio/ImageReadResult.h"
#include "imageio/ImageSizeLimit.h"
#include "imageio/JpegCompressor.h"
#include "imageio/JpegDecompressor.h"
#include "imageio/JpegFileDest.h"
#include "imageio/JpegFileSource.h"
#include "imageio/Win32File.h"
#include "util/FileReplacement.h"
#include "util/Win32Error.h"

namespace {

constexpr int kFormatViolation = 1;

void CopyDensity(const jpeg_decompress_struct& info, BITMAPINFOHEADER& header)
{
    switch (info.density_unit) {
    case 1:  // dots per inch
        header.biXPelsPerMeter = static_cast<LONG>(info.X_density * 39.37007874015748 + 0.5);
        header.biYPelsPerMeter = static_cast<LONG>(info.Y_density * 39.37007874015748 + 0.5);
        break;
    case 2:  // dots per centimetre
        header.biXPelsPerMeter = info.X_density * 100;
        header.biYPelsPerMeter = info.Y_density * 100;
        break;
    }
}

UINT16 DotsPerCentimetre(LONG pixelsPerMetre)
{
    return static_cast<UINT16>(static_cast<int>(pixelsPerMetre * static_cast<double>(0.01f) + 0.5));
}

// Adobe applications store CMYK inverted (255 = no ink); others store ink amounts.
void ConvertCmykRow(const JSAMPLE* pCmyk, BYTE* pTarget, JDIMENSION width, bool bInverted)
{
    const unsigned flip = bInverted ? 0 : 255;
    for (JDIMENSION x = 0; x < width; ++x, pCmyk += 4, pTarget += 4) {
        const unsigned key = pCmyk[3] ^ flip;
        pTarget[0] = static_cast<BYTE>(((pCmyk[2] ^ flip) * key + 127) / 255);
        pTarget[1] = static_cast<BYTE>(((pCmyk[1] ^ flip) * key + 127) / 255);
        pTarget[2] = static_cast<BYTE>(((pCmyk[0] ^ flip) * key + 127) / 255);
        pTarget[3] = 0;
    }
}

void DecodeDirect(CJpegDecompressor& jpeg, const CDib& dib)
{
    std::vector<BYTE*> rows = PictureRows(dib);
    while (jpeg->output_scanline < jpeg->output_height)
        jpeg_read_scanlines(jpeg.Get(), &rows[jpeg->output_scanline], jpeg->output_height - jpeg->output_scanline);
}

void DecodeCmyk(CJpegDecompressor& jpeg, const CDib& dib)
{
    std::vector<JSAMPLE> cmyk(4 * static_cast<size_t>(jpeg->output_width));
    JSAMPROW pCmyk = cmyk.data();
    for (CDibRowCursor row(dib); row.GetRow(); row.Advance()) {
        jpeg_read_scanlines(jpeg.Get(), &pCmyk, 1);
        ConvertCmykRow(pCmyk, row.GetRow(), jpeg->output_width, jpeg->saw_Adobe_marker);
    }
}

// kImageReadWhole, or kImageReadIncomplete when the file ended early.
int DecodeJpeg(CWin32File& file, CDib& dib)
{
    CJpegDecompressor jpeg;
    InstallJpegFileSource(jpeg.Get(), file.GetHandlePointer());
    jpeg_read_header(jpeg.Get(), TRUE);

    // libjpeg-turbo delivers blue, green, red and a fourth byte itself, grey and colour
    // alike, straight into the rows of the section.
    switch (jpeg->num_components) {
    case 1:
    case 3:
        jpeg->out_color_space = JCS_EXT_BGRX;
        break;
    case 4:
        jpeg->out_color_space = JCS_CMYK;
        break;
    default:
        throw kFormatViolation;
    }
    if (ExceedsImageSizeLimit(jpeg->image_width, jpeg->image_height))
        throw Vorn::CWin32Error(ERROR_NOT_ENOUGH_MEMORY);
    if (!dib.CreateSection(static_cast<int>(jpeg->image_width), static_cast<int>(jpeg->image_height)))
        throw std::bad_alloc();
    CopyDensity(*jpeg.Get(), *dib.GetInfo());

    jpeg_start_decompress(jpeg.Get());
    if (jpeg->num_components == 4)
        DecodeCmyk(jpeg, dib);
    else
        DecodeDirect(jpeg, dib);
    jpeg_finish_decompress(jpeg.Get());
    return static_cast<const CJpegFileSource*>(jpeg->src)->m_bEndedEarly ? kImageReadIncomplete : kImageReadWhole;
}

void EncodeJpeg(const CDib& image, HANDLE hFile, int quality)
{
    CJpegCompressor jpeg;
    InstallJpegFileDest(jpeg.Get(), &hFile);
    jpeg->image_width = static_cast<JDIMENSION>(image.GetWidth());
    jpeg->image_height = static_cast<JDIMENSION>(image.GetRowCount());
    // 32-bit pixels go in as they are; the library skips their fourth byte.
    const bool bFourBytes = image.GetBitCount() == 32;
    jpeg->input_components = bFourBytes ? 4 : 3;
    jpeg->in_color_space = bFourBytes ? JCS_EXT_BGRX : JCS_EXT_BGR;
    jpeg_set_defaults(jpeg.Get());
    jpeg_set_quality(jpeg.Get(), quality, TRUE);
    jpeg->density_unit = 2;
    jpeg->X_density = DotsPerCentimetre(image.GetInfo()->biXPelsPerMeter);
    jpeg->Y_density = DotsPerCentimetre(image.GetInfo()->biYPelsPerMeter);

    jpeg_start_compress(jpeg.Get(), TRUE);
    std::vector<BYTE*> rows = PictureRows(image);
    while (jpeg->next_scanline < jpeg->image_height)
        jpeg_write_scanlines(jpeg.Get(), &rows[jpeg->next_scanline], jpeg->image_height - jpeg->next_scanline);
    jpeg_finish_compress(jpeg.Get());
}

}  // namespace

int ReadJpegFile(const char* path, CDib& dib)
{
    try {
        CWin32File file;
        file.OpenForReading(path);
        BYTE start[2];
        if (file.Read(start, sizeof start) != sizeof start || start[0] != 0xFF || start[1] != 0xD8)
            throw kFormatViolation;
        file.SeekTo(0);
        return DecodeJpeg(file, dib);
    } catch (...) {
        return FailWithCurrentException();
    }
}

int WriteJpegFile(CDib& dib, const char* path, int quality, CFileReplacement::Mode mode)
{
    return WriteImageFile(dib, path, mode,
                          [quality](const CDib& image, HANDLE hFile) { EncodeJpeg(image, hFile, quality); });
}
