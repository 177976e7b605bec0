#include "imageio/BmpFile.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "imageio/BitFieldMasks.h"
#include "imageio/CodecFailure.h"
#include "imageio/Dib.h"
#include "imageio/DibConversion.h"
#include "imageio/DibRowCursor.h"
#include "imageio/ImageSizeLimit.h"
#include "imageio/Win32File.h"
#include "util/FileReplacement.h"
#include "util/Win32Error.h"

using Vorn::CWin32Error;

namespace {

constexpr DWORD kFileHeaderSize = 14;
constexpr DWORD kCoreHeaderSize = 12;
constexpr int kFormatViolation = 1;

WORD WordAt(const BYTE* p) noexcept
{
    return static_cast<WORD>(p[0] | p[1] << 8);
}

DWORD DwordAt(const BYTE* p) noexcept
{
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<DWORD>(p[3]) << 24;
}

void PutWord(BYTE* p, WORD value) noexcept
{
    p[0] = static_cast<BYTE>(value);
    p[1] = static_cast<BYTE>(value >> 8);
}

void PutDword(BYTE* p, DWORD value) noexcept
{
    PutWord(p, static_cast<WORD>(value));
    PutWord(p + 2, static_cast<WORD>(value >> 16));
}

// What the header says; checked against the file before anything is allocated.
struct BmpLayout {
    int width;
    int height;
    int bitCount;
    DWORD colorTableOffset;
    DWORD pixelOffset;
    int storedColors;  // colour-table entries in the file; the rest of the table stays black
};

void RequireBytes(const CWin32File& file, uint64_t offset, uint64_t count)
{
    if (offset + count > file.GetSize())
        throw kFormatViolation;
}

// The colour table as quads, the entries the file does not hold left black.
void ReadColorTable(CWin32File& file, const BmpLayout& layout, bool bCoreTriples, RGBQUAD (&table)[256])
{
    const int nColors = layout.storedColors;
    memset(table, 0, sizeof table);
    if (nColors == 0)
        return;
    file.SeekTo(layout.colorTableOffset);
    if (!bCoreTriples) {
        file.ReadExactly(table, 4 * static_cast<DWORD>(nColors));
        return;
    }
    RGBTRIPLE triples[256];
    file.ReadExactly(triples, 3 * static_cast<DWORD>(nColors));
    for (int i = 0; i < nColors; ++i)
        table[i] = RGBQUAD{triples[i].rgbtBlue, triples[i].rgbtGreen, triples[i].rgbtRed, 0};
}

// The pixels of every depth go into a section of 32-bit rows, picture row y of a
// bottom-up file coming from its stored row (rows - 1 - y). The file is read a band of
// rows at a time, so that nothing but the section holds the picture whole. fill(stored,
// target) turns one stored row into one row of the section.
template <typename FillRow>
void ReadRows(CWin32File& file, const BmpLayout& layout, DWORD dwStride, CDib& dib, FillRow fill)
{
    constexpr DWORD kBandBytes = 256 * 1024;
    const int rows = dib.GetRowCount();
    const int rowsPerBand = static_cast<int>(std::max<DWORD>(1, kBandBytes / dwStride));
    std::vector<BYTE> band(static_cast<size_t>(dwStride) * std::min(rows, rowsPerBand));
    const bool bBottomUp = layout.height > 0;
    file.SeekTo(layout.pixelOffset);
    for (int first = 0; first < rows; first += rowsPerBand) {
        const int count = std::min(rowsPerBand, rows - first);
        file.ReadExactly(band.data(), dwStride * static_cast<DWORD>(count));
        for (int i = 0; i < count; ++i) {
            const int stored = first + i;
            const int y = bBottomUp ? rows - 1 - stored : stored;
            fill(band.data() + static_cast<size_t>(dwStride) * i, dib.GetBits() + static_cast<size_t>(y) * dib.GetStride());
        }
    }
}

void ReadImage(CWin32File& file, const BmpLayout& layout, bool bCoreTriples, const CBitFieldMasks* pMasks, CDib& dib)
{
    if (ExceedsImageSizeLimit(layout.width, layout.height))
        throw CWin32Error(ERROR_NOT_ENOUGH_MEMORY);
    const DWORD dwImageSize = CDib::ImageSizeFor(layout.width, layout.height, layout.bitCount);
    if (dwImageSize == 0)
        throw kFormatViolation;
    const int nColors = layout.storedColors;
    if (nColors > 0)
        RequireBytes(file, layout.colorTableOffset, (bCoreTriples ? 3u : 4u) * nColors);
    RequireBytes(file, layout.pixelOffset, dwImageSize);

    RGBQUAD table[256];
    ReadColorTable(file, layout, bCoreTriples, table);
    const int rows = layout.height < 0 ? -layout.height : layout.height;
    if (!dib.CreateSection(layout.width, rows))
        throw std::bad_alloc();
    const DWORD dwStride = dwImageSize / static_cast<DWORD>(rows);
    if (pMasks)
        ReadRows(file, layout, dwStride, dib, [&](const BYTE* stored, BYTE* target) {
            pMasks->UnpackRow(stored, target, layout.width);
        });
    else
        ReadRows(file, layout, dwStride, dib, [&](const BYTE* stored, BYTE* target) {
            ExpandRowToBgr(stored, layout.bitCount, table, target, 4, layout.width);
        });
}

// The masks follow the first 40 bytes of the header, inside the longer headers or as a
// table after the 40-byte one.
void ReadMaskedImage(CWin32File& file, const BmpLayout& layout, CDib& dib)
{
    BYTE masks[12];
    file.SeekTo(kFileHeaderSize + 40);
    file.ReadExactly(masks, sizeof masks);
    const CBitFieldMasks fields(DwordAt(masks), DwordAt(masks + 4), DwordAt(masks + 8), layout.bitCount);
    ReadImage(file, layout, false, &fields, dib);
}

void ReadCoreHeaderImage(CWin32File& file, BmpLayout& layout, CDib& dib)
{
    BYTE header[8];
    file.ReadExactly(header, sizeof header);
    layout.width = WordAt(header);
    layout.height = WordAt(header + 2);
    layout.bitCount = WordAt(header + 6);
    if (layout.bitCount != 1 && layout.bitCount != 4 && layout.bitCount != 8 && layout.bitCount != 24)
        throw kFormatViolation;
    layout.storedColors = CDib::ColorCountFor(layout.bitCount);
    ReadImage(file, layout, true, nullptr, dib);
}

void ReadInfoHeaderImage(CWin32File& file, BmpLayout& layout, CDib& dib)
{
    BYTE header[36];
    file.ReadExactly(header, sizeof header);
    layout.width = static_cast<int>(DwordAt(header));
    layout.height = static_cast<int>(DwordAt(header + 4));
    layout.bitCount = WordAt(header + 10);
    const DWORD dwCompression = DwordAt(header + 12);
    const bool bMasked = dwCompression == BI_BITFIELDS && (layout.bitCount == 16 || layout.bitCount == 32);
    if (dwCompression != BI_RGB && !bMasked)
        throw kFormatViolation;
    switch (layout.bitCount) {
    case 1: case 2: case 4: case 8: case 16: case 24: case 32:
        break;
    default:
        throw kFormatViolation;
    }
    // Tools write only the colours a picture uses and say how many; a count of 0, or
    // one beyond the depth, means the full table.
    const int nFullTable = CDib::ColorCountFor(layout.bitCount);
    const DWORD dwColorsUsed = DwordAt(header + 28);
    layout.storedColors = dwColorsUsed > 0 && dwColorsUsed < static_cast<DWORD>(nFullTable)
                              ? static_cast<int>(dwColorsUsed) : nFullTable;
    if (bMasked)
        ReadMaskedImage(file, layout, dib);
    else
        ReadImage(file, layout, false, nullptr, dib);
}

// GDI leaves the fourth byte of a 32-bit pixel 0, and programs that read it as alpha
// would show the picture transparent, so the file gets 255 there. The rows go bottom
// row first, the order every reader of BMP files takes, whichever way they are held;
// a band of them at a time.
void WriteOpaqueRowsBottomUp(HANDLE hFile, const CDib& dib)
{
    constexpr DWORD kBandBytes = 256 * 1024;
    const DWORD dwStride = static_cast<DWORD>(dib.GetStride());
    const int rows = dib.GetRowCount();
    const int rowsPerBand = static_cast<int>(std::max<DWORD>(1, kBandBytes / dwStride));
    std::vector<BYTE> band(static_cast<size_t>(dwStride) * std::min(rows, rowsPerBand));
    const std::vector<BYTE*> pictureRows = PictureRows(dib);
    for (int written = 0; written < rows;) {
        const int count = std::min(rowsPerBand, rows - written);
        for (int i = 0; i < count; ++i)
            std::memcpy(band.data() + static_cast<size_t>(dwStride) * i, pictureRows[rows - 1 - written - i], dwStride);
        for (size_t i = 3; i < static_cast<size_t>(dwStride) * count; i += 4)
            band[i] = 0xFF;
        CWin32File::WriteAll(hFile, band.data(), dwStride * static_cast<DWORD>(count));
        written += count;
    }
}

}  // namespace

int ReadBmpFile(const char* path, CDib& dib)
{
    try {
        CWin32File file;
        file.OpenForReading(path);
        BYTE start[kFileHeaderSize + 4];
        file.ReadExactly(start, sizeof start);
        if (start[0] != 'B' || start[1] != 'M')
            throw kFormatViolation;
        const DWORD dwHeaderSize = DwordAt(start + kFileHeaderSize);
        BmpLayout layout = {};
        layout.pixelOffset = DwordAt(start + 10);
        layout.colorTableOffset = kFileHeaderSize + dwHeaderSize;
        switch (dwHeaderSize) {
        case kCoreHeaderSize:
            ReadCoreHeaderImage(file, layout, dib);
            return 1;
        case 40: case 52: case 56: case 108: case 124:
            ReadInfoHeaderImage(file, layout, dib);
            return 1;
        default:
            throw kFormatViolation;
        }
    } catch (...) {
        return FailWithCurrentException();
    }
}

int WriteBmpFile(CDib& dib, const char* path, CFileReplacement::Mode mode)
{
    try {
        if (dib.IsEmpty())
            throw CWin32Error(ERROR_INVALID_PARAMETER);
        const DWORD dwBlockSize = dib.GetTotalSize();
        const DWORD dwHeadersSize = dwBlockSize - dib.GetImageSize();
        BYTE fileHeader[kFileHeaderSize] = {'B', 'M'};
        PutDword(fileHeader + 2, kFileHeaderSize + dwBlockSize);
        PutDword(fileHeader + 10, kFileHeaderSize + dwHeadersSize);

        CFileReplacement file(path, mode);
        CWin32File::WriteAll(file.GetHandle(), fileHeader, sizeof fileHeader);
        // Header, colour table and pixels are one block in memory, written as it is
        // but for 32-bit pixels, which may lie in a section of their own.
        if (dib.GetBitCount() == 32) {
            BITMAPINFOHEADER header = *dib.GetInfo();
            header.biHeight = dib.GetRowCount();
            CWin32File::WriteAll(file.GetHandle(), &header, sizeof header);
            WriteOpaqueRowsBottomUp(file.GetHandle(), dib);
        } else {
            CWin32File::WriteAll(file.GetHandle(), dib.GetInfo(), dwBlockSize);
        }
        file.Commit();
        return 1;
    } catch (...) {
        return FailWithCurrentException();
    }
}
