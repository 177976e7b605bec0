#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <cstring>

#include "CodecTestFiles.h"
#include "LiveGdiObjects.h"
#include "imageio/Dib.h"
#include "imageio/DibConversion.h"
#include "imageio/DibRowCursor.h"

namespace {

// A DIB section whose bytes are set by the test, as the capture engine's bitmaps are.
class DibSection {
public:
    DibSection(int width, int height, int bitsPerPixel)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
        m_hBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &m_pBits, nullptr, 0);
    }
    ~DibSection() { DeleteObject(m_hBitmap); }

    HBITMAP Get() const { return m_hBitmap; }
    BYTE* Bits() const { return static_cast<BYTE*>(m_pBits); }

private:
    HBITMAP m_hBitmap = nullptr;
    void* m_pBits = nullptr;
};

}  // namespace

TEST(Dib, CreateBuildsTheHeaderAndSizesTheBlock)
{
    CDib dib;
    ASSERT_TRUE(dib.Create(3, -2, 4));
    const BITMAPINFOHEADER& header = *dib.GetInfo();
    EXPECT_EQ(40u, header.biSize);
    EXPECT_EQ(3, header.biWidth);
    EXPECT_EQ(-2, header.biHeight);
    EXPECT_EQ(1, header.biPlanes);
    EXPECT_EQ(4, header.biBitCount);
    EXPECT_EQ(DWORD(BI_RGB), header.biCompression);
    EXPECT_EQ(16u, header.biClrUsed);
    EXPECT_EQ(0, header.biXPelsPerMeter);
    EXPECT_EQ(reinterpret_cast<BYTE*>(dib.GetInfo()) + 40 + 16 * 4, dib.GetBits());
    EXPECT_EQ(4, dib.GetStride());
    EXPECT_EQ(8u, dib.GetImageSize());
    EXPECT_EQ(40u + 64 + 8, dib.GetTotalSize());

    dib.Release();
    EXPECT_TRUE(dib.IsEmpty());
    EXPECT_EQ(nullptr, dib.GetBits());
}

TEST(Dib, StrideRoundsEveryRowUpToFourBytes)
{
    struct Case { int width, bits, stride; } cases[] = {
        {1, 32, 4}, {3, 24, 12}, {1, 24, 4}, {5, 16, 12}, {33, 1, 8}, {32, 1, 4}, {7, 2, 4}, {17, 2, 8}, {9, 4, 8}, {5, 8, 8},
    };
    for (const Case& c : cases) {
        CDib dib;
        ASSERT_TRUE(dib.Create(c.width, 3, c.bits));
        EXPECT_EQ(c.stride, dib.GetStride()) << c.width << " pixels of " << c.bits << " bits";
        EXPECT_EQ(DWORD(3 * c.stride), dib.GetImageSize());
    }
}

TEST(Dib, RefusesDimensionsItCannotHold)
{
    struct Case { int width, height, bits; } cases[] = {
        {0, 5, 24}, {-3, 5, 24}, {5, 0, 24}, {5, INT_MIN, 24}, {5, 5, 3}, {5, 5, 0}, {5, 5, 48},
        {65535, 65535, 32}, {INT_MAX, 1, 32}, {INT_MAX, 1, 8}, {INT_MAX, INT_MAX, 32}, {1 << 24, 200, 8},
    };
    for (const Case& c : cases) {
        CDib dib;
        EXPECT_FALSE(dib.Create(c.width, c.height, c.bits)) << c.width << "x" << c.height << "x" << c.bits;
        EXPECT_TRUE(dib.IsEmpty());
        EXPECT_EQ(0u, CDib::ImageSizeFor(c.width, c.height, c.bits));
    }
    EXPECT_EQ(8u, CDib::ImageSizeFor(1, -2, 32));
    EXPECT_EQ(268435456u, CDib::ImageSizeFor(INT_MAX, 1, 1)) << "a very wide 1-bit row still fits";
}

TEST(Dib, RowCursorWalksTopRowFirstInBothOrientations)
{
    for (int height : {3, -3}) {
        CDib dib;
        ASSERT_TRUE(dib.Create(2, height, 24));
        BYTE* pTop = height > 0 ? dib.GetBits() + 2 * 8 : dib.GetBits();
        const ptrdiff_t step = height > 0 ? -8 : 8;

        CDibRowCursor row(dib);
        EXPECT_EQ(0, row.GetIndex());
        EXPECT_EQ(pTop, row.GetRow());
        row.Advance();
        EXPECT_EQ(1, row.GetIndex());
        EXPECT_EQ(pTop + step, row.GetRow());
        row.Advance();
        EXPECT_EQ(pTop + 2 * step, row.GetRow());
        row.Advance();
        EXPECT_EQ(-1, row.GetIndex());
        EXPECT_EQ(nullptr, row.GetRow());

        CDibRowCursor jump(dib);
        jump.Advance(2);
        EXPECT_EQ(pTop + 2 * step, jump.GetRow());
        jump.Advance(5);
        EXPECT_EQ(nullptr, jump.GetRow());
    }
    CDib empty;
    EXPECT_EQ(nullptr, CDibRowCursor(empty).GetRow());
}

TEST(Dib, SwapExchangesOwnership)
{
    CDib a, b;
    ASSERT_TRUE(a.Create(4, 4, 32));
    BYTE* pBits = a.GetBits();
    a.Swap(b);
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(pBits, b.GetBits());
    EXPECT_EQ(16, b.GetStride());
}

TEST(Dib, FromBitmapReadsDirectColourSectionsInPlaceInTheirOwnOrder)
{
    // The first round makes the objects the system keeps for good (a DC per depth).
    size_t gdiBefore = 0;
    for (int round = 0; round < 2; ++round) {
        if (round == 1)
            gdiBefore = LiveGdiObjects();
        for (int bits : {16, 24, 32}) {
            for (int height : {-3, 3}) {
                DibSection section(5, height, bits);
                ASSERT_NE(nullptr, section.Get());
                const int stride = ((bits * 5 + 31) / 32) * 4;
                for (int i = 0; i < 3 * stride; ++i)
                    section.Bits()[i] = static_cast<BYTE>(i * 7 + bits);
                if (bits == 16)
                    for (int i = 1; i < 3 * stride; i += 2)
                        section.Bits()[i] &= 0x7F;  // bit 15 is not kept

                CDib dib;
                ASSERT_TRUE(dib.FromBitmap(section.Get())) << bits;
                EXPECT_EQ(5, dib.GetWidth());
                EXPECT_EQ(bits, dib.GetBitCount());
                EXPECT_EQ(DWORD(BI_RGB), dib.GetInfo()->biCompression);
                if (bits != 16) {  // 5-5-5 sections are bit-field ones, fetched as a copy
                    EXPECT_EQ(height, dib.GetHeight()) << bits << " bits: the rows in the section's order";
                    EXPECT_EQ(section.Bits(), dib.GetBits()) << bits << " bits: no copy";
                }
                CDibRowCursor row(dib);
                for (int y = 0; y < 3; ++y, row.Advance()) {
                    const BYTE* pExpected = section.Bits() + (height < 0 ? y : 2 - y) * stride;
                    EXPECT_EQ(0, std::memcmp(pExpected, row.GetRow(), bits * 5 / 8)) << bits << " bits, row " << y;
                }
            }
        }
    }
    EXPECT_EQ(gdiBefore, LiveGdiObjects());
}

TEST(Dib, FromBitmapRefusesPaletteBitmapsAndBadHandles)
{
    DibSection palette(4, 4, 8);
    ASSERT_NE(nullptr, palette.Get());
    CDib dib;
    EXPECT_FALSE(dib.FromBitmap(palette.Get()));
    EXPECT_TRUE(dib.IsEmpty());
    EXPECT_FALSE(dib.FromBitmap(nullptr));
    EXPECT_FALSE(dib.FromBitmap(reinterpret_cast<HBITMAP>(static_cast<INT_PTR>(0x7777))));
    EXPECT_TRUE(dib.IsEmpty());
}

TEST(DibConversion, SixteenBitWordsScaleEachFiveBitFieldTo255)
{
    CDib source;
    ASSERT_TRUE(source.Create(4, 1, 16));
    const WORD words[4] = {0x7C00, 0x8000 | (1 << 5) | 16, 0x0001 | (31 << 5), 0xFFFF};
    std::memcpy(source.GetBits(), words, sizeof words);
    CDib target;
    ASSERT_TRUE(target.Create(4, 1, 24));
    ConvertTo24Bit(source, target);
    const BYTE expected[12] = {0, 0, 255, /**/ 131, 8, 0, /**/ 8, 255, 0, /**/ 255, 255, 255};
    EXPECT_EQ(0, std::memcmp(expected, target.GetBits(), sizeof expected));
}

TEST(DibConversion, ThirtyTwoBitPixelsLoseTheirFourthByteAcrossOrientations)
{
    CDib source;
    ASSERT_TRUE(source.Create(2, -2, 32));  // top-down
    const BYTE pixels[16] = {1, 2, 3, 4, 5, 6, 7, 8, /**/ 9, 10, 11, 12, 13, 14, 15, 16};
    std::memcpy(source.GetBits(), pixels, sizeof pixels);
    CDib target;
    ASSERT_TRUE(target.Create(2, 2, 24));  // bottom-up: the top row is stored last
    ConvertTo24Bit(source, target);
    const BYTE expected[16] = {9, 10, 11, 13, 14, 15, 0, 0, /**/ 1, 2, 3, 5, 6, 7, 0, 0};
    EXPECT_EQ(0, std::memcmp(expected, target.GetBits(), 6));
    EXPECT_EQ(0, std::memcmp(expected + 8, target.GetBits() + 8, 6));
}

TEST(DibConversion, PaletteIndicesAreReadMostSignificantBitsFirst)
{
    struct Case { int bits; BYTE row; int indices[4]; } cases[] = {
        {1, 0xA0, {1, 0, 1, 0}}, {2, 0xE4, {3, 2, 1, 0}}, {4, 0x5C, {5, 12, 0, 0}}, {8, 0x07, {7, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        CDib source;
        ASSERT_TRUE(source.Create(8 / c.bits < 4 ? 8 / c.bits : 4, 1, c.bits));
        for (int i = 0; i < source.GetColorCount(); ++i)
            source.GetColorTable()[i] = RGBQUAD{BYTE(i), BYTE(100 + i), BYTE(200 + i), 0xEE};
        std::memset(source.GetBits(), 0, 4);
        source.GetBits()[0] = c.row;
        CDib target;
        ASSERT_TRUE(target.Create(source.GetWidth(), 1, 24));
        ConvertTo24Bit(source, target);
        for (int x = 0; x < source.GetWidth(); ++x) {
            const BYTE* p = target.GetBits() + 3 * x;
            EXPECT_EQ(c.indices[x], p[0]) << c.bits << " bits, pixel " << x;
            EXPECT_EQ(100 + c.indices[x], p[1]);
            EXPECT_EQ(200 + c.indices[x], p[2]);
        }
    }
}
