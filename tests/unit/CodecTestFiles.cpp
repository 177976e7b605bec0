#include "CodecTestFiles.h"

#include <gtest/gtest.h>

#include "imageio/Dib.h"
#include "imageio/DibConversion.h"
#include "imageio/DibRowCursor.h"
#include "util/ModulePath.h"

std::string FixturePath(const char* name)
{
    char path[MAX_PATH];
    const std::string relative = std::string("codec-fixtures\\") + name;
    EXPECT_TRUE(MakeModuleFilePath(relative.c_str(), path));
    return path;
}

void FillTestPattern(CDib& dib, unsigned seed)
{
    const int nColors = dib.GetColorCount();
    for (int i = 0; i < nColors; ++i)
        dib.GetColorTable()[i] = RGBQUAD{BYTE(i * 37 + seed), BYTE(i * 11), BYTE(255 - i * 5), 0};
    unsigned state = seed * 2654435761u + 1;
    for (CDibRowCursor row(dib); row.GetRow(); row.Advance()) {
        for (int i = 0; i < dib.GetStride(); ++i) {
            state = state * 1103515245u + 12345u;
            row.GetRow()[i] = static_cast<BYTE>(state >> 16);
        }
    }
}

std::vector<BYTE> PictureRgb(const CDib& dib)
{
    CDib converted;
    EXPECT_TRUE(converted.Create(dib.GetWidth(), dib.GetRowCount(), 24));
    ConvertTo24Bit(dib, converted);
    std::vector<BYTE> rgb;
    rgb.reserve(3 * static_cast<size_t>(dib.GetWidth()) * dib.GetRowCount());
    for (CDibRowCursor row(converted); row.GetRow(); row.Advance()) {
        for (int x = 0; x < dib.GetWidth(); ++x) {
            const BYTE* pPixel = row.GetRow() + 3 * x;
            rgb.insert(rgb.end(), {pPixel[2], pPixel[1], pPixel[0]});
        }
    }
    return rgb;
}

bool IsTopDown32(const CDib& dib)
{
    return !dib.IsEmpty() && dib.GetBitCount() == 32 && dib.GetHeight() < 0;
}

CBitmapOwner PatternBitmap(int width, int height, unsigned seed)
{
    CDib dib;
    EXPECT_TRUE(dib.CreateSection(width, height));
    FillTestPattern(dib, seed);
    return CBitmapOwner(dib.DetachSection());
}

std::vector<BYTE> BitmapRgb(HBITMAP bitmap)
{
    CDib dib;
    EXPECT_TRUE(dib.FromBitmap(bitmap));
    return dib.IsEmpty() ? std::vector<BYTE>() : PictureRgb(dib);
}

std::string Le(DWORD value, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i));
    return out;
}

std::string BmpBytes(const BmpLayout& layout)
{
    std::string header = Le(layout.headerSize, 4);
    if (layout.headerSize == 12) {
        header += Le(layout.width, 2) + Le(layout.height, 2) + Le(1, 2) + Le(layout.bits, 2);
    } else {
        header += Le(layout.width, 4) + Le(layout.height, 4) + Le(1, 2) + Le(layout.bits, 2) + Le(layout.compression, 4);
        header.resize(layout.headerSize, '\0');
    }
    const DWORD offBits = layout.offBits ? layout.offBits : DWORD(14 + header.size() + layout.table.size());
    std::string file = "BM" + Le(DWORD(14 + header.size() + layout.table.size() + layout.pixels.size()), 4) + Le(0, 4) +
                       Le(offBits, 4) + header + layout.table;
    file.resize(offBits, '\0');
    return file + layout.pixels;
}
