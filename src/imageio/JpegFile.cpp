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

// Neither coding says when a scan's data stops before its last rows (a picture whose
// header claims more than its data holds): the decoders fill the rest with grey, the
// arithmetic one without even a warning. The sign is a marker met by the decoder while
// whole rows of the scan are still to come; the rows just before the end may meet the
// next marker in any file, so only a marker met earlier counts.
struct CEarlyEndWatch : jpeg_progress_mgr {
    bool m_bEndedEarly = false;
};

void WatchForEarlyEnd(j_common_ptr common)
{
    const auto cinfo = reinterpret_cast<j_decompress_ptr>(common);
    const int marker = cinfo->unread_marker;
    const bool restart = marker >= JPEG_RST0 && marker <= JPEG_RST0 + 7;
    if (marker && !restart && cinfo->input_iMCU_row + 1 < cinfo->total_iMCU_rows)
        static_cast<CEarlyEndWatch*>(cinfo->progress)->m_bEndedEarly = true;
}

// A progressive file whose last scans are missing leaves coefficients that were never
// sent, or not refined to their last bit.
bool LacksScans(const jpeg_decompress_struct& info)
{
    if (!info.progressive_mode)
        return false;
    for (int component = 0; component < info.num_components; ++component)
        for (int k = 0; k < DCTSIZE2; ++k)
            if (info.coef_bits[component][k] != 0)
                return true;
    return false;
}

// A file of several scans (progressive ones) is decoded through a store of every
// coefficient of the picture, 128 bytes a block, whole MCUs. A few hundred bytes may
// claim a picture whose store takes hundreds of megabytes.
uint64_t CoefficientStoreBytes(jpeg_decompress_struct& info)
{
    if (!jpeg_has_multiple_scans(&info))
        return 0;
    uint64_t bytes = 0;
    for (int i = 0; i < info.num_components; ++i) {
        const jpeg_component_info& component = info.comp_info[i];
        const uint64_t across = (component.width_in_blocks + component.h_samp_factor - 1) / component.h_samp_factor;
        const uint64_t down = (component.height_in_blocks + component.v_samp_factor - 1) / component.v_samp_factor;
        bytes += across * component.h_samp_factor * down * component.v_samp_factor * sizeof(JBLOCK);
    }
    return bytes;
}

// kImageReadWhole, or kImageReadIncomplete when the file ended early.
int DecodeJpeg(CWin32File& file, CDib& dib)
{
    CJpegDecompressor jpeg;
    // The library's own memory: the coefficient store and its rows for the widest
    // picture. Beyond it the library fails rather than allocate.
    jpeg->mem->max_memory_to_use = static_cast<long>(kMaxImageBytes + (kMaxImageBytes >> 3));
    CEarlyEndWatch watch;
    watch.progress_monitor = WatchForEarlyEnd;
    jpeg->progress = &watch;
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
    // The store is held beside the picture, so it gets no more than the picture's limit.
    if (ExceedsImageSizeLimit(jpeg->image_width, jpeg->image_height) || CoefficientStoreBytes(*jpeg.Get()) > kMaxImageBytes)
        throw Vorn::CWin32Error(ERROR_NOT_ENOUGH_MEMORY);
    if (!dib.CreateSection(static_cast<int>(jpeg->image_width), static_cast<int>(jpeg->image_height)))
        throw std::bad_alloc();
    CopyDensity(*jpeg.Get(), *dib.GetInfo());

    jpeg_start_decompress(jpeg.Get());
    if (jpeg->num_components == 4)
        DecodeCmyk(jpeg, dib);
    else
        DecodeDirect(jpeg, dib);
    // Asked before finishing, which frees what the scans left.
    const bool lacksScans = LacksScans(*jpeg.Get());
    jpeg_finish_decompress(jpeg.Get());
    const bool endedEarly = static_cast<const CJpegFileSource*>(jpeg->src)->m_bEndedEarly || watch.m_bEndedEarly;
    return endedEarly || lacksScans ? kImageReadIncomplete : kImageReadWhole;
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
