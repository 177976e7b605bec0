#include <gtest/gtest.h>

#include <windows.h>

#include "imageio/TopDownDib.h"
#include "scoped/ScopedHandles.h"

// What GDI draws lands at pixels[y * width + x] as 0x00RRGGBB, and a copy read back
// through the same header comes in the same order.
TEST(TopDownDib, PixelsAreRowsFromTheTopInRedGreenBlueOrder)
{
    constexpr int kWidth = 5, kHeight = 3;
    DWORD* pixels = nullptr;
    const CBitmapOwner dib = CreateTopDownDib(kWidth, kHeight, pixels);
    ASSERT_TRUE(dib);
    ASSERT_NE(nullptr, pixels);
    {
        const CMemoryDC dc(nullptr);
        const CSelectObject selection(dc, dib.get());
        SetPixel(dc, 3, 0, RGB(255, 0, 0));
        SetPixel(dc, 1, 2, RGB(0, 0, 255));
        GdiFlush();
    }
    EXPECT_EQ(0xFF0000u, pixels[0 * kWidth + 3] & 0xFFFFFF);
    EXPECT_EQ(0x0000FFu, pixels[2 * kWidth + 1] & 0xFFFFFF);

    BITMAPINFO info = TopDownDibInfo(kWidth, kHeight);
    DWORD copy[kWidth * kHeight] = {};
    ASSERT_EQ(kHeight, GetDIBits(CMemoryDC(nullptr), dib.get(), 0, kHeight, copy, &info, DIB_RGB_COLORS));
    for (int i = 0; i < kWidth * kHeight; ++i)
        EXPECT_EQ(pixels[i] & 0xFFFFFF, copy[i] & 0xFFFFFF) << "pixel " << i;
}

TEST(TopDownDib, AnImpossibleSizeGivesNoBitmapAndNoPixels)
{
    DWORD* pixels = reinterpret_cast<DWORD*>(&pixels);
    EXPECT_FALSE(CreateTopDownDib(0, 10, pixels));
    EXPECT_EQ(nullptr, pixels);
}
