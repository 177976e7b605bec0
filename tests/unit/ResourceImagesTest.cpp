// The artwork and the shutter sound linked into the program: the toolbars' strips, icons,
// cursors, the wave and the manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "ResourceTestSupport.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"

namespace {

CBitmapOwner LoadStrip(UINT id)
{
    return CBitmapOwner(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

// Top-down 32-bit pixels of a bitmap.
std::vector<RGBQUAD> PixelsOf(HGDIOBJ bitmap, int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<RGBQUAD> pixels(width * height);
    const CMemoryDC dc(nullptr);
    EXPECT_EQ(height, GetDIBits(dc, static_cast<HBITMAP>(bitmap), 0, height, pixels.data(), &info,
                                DIB_RGB_COLORS));
    return pixels;
}

bool IsBlack(const RGBQUAD& p) { return p.rgbRed == 0 && p.rgbGreen == 0 && p.rgbBlue == 0; }

// A strip of count pictures of the size in colour, in grey and as a 1-bit mask, where
// every transparent pixel is black in both pictures and no picture is empty.
void ExpectMaskedStrip(UINT normalId, UINT disabledId, UINT maskId, int count, SIZE picture)
{
    const int imageWidth = picture.cx, width = imageWidth * count, height = picture.cy;
    CBitmapOwner normal = LoadStrip(normalId);
    CBitmapOwner disabled = LoadStrip(disabledId);
    CBitmapOwner mask = LoadStrip(maskId);
    for (HGDIOBJ strip : {normal.get(), disabled.get(), mask.get()}) {
        ASSERT_NE(nullptr, strip);
        BITMAP info = {};
        GetObjectA(strip, sizeof info, &info);
        EXPECT_EQ(width, info.bmWidth);
        EXPECT_EQ(height, info.bmHeight);
    }
    BITMAP maskInfo = {};
    GetObjectA(mask.get(), sizeof maskInfo, &maskInfo);
    EXPECT_EQ(1, maskInfo.bmBitsPixel);

    const std::vector<RGBQUAD> colours = PixelsOf(normal.get(), width, height);
    const std::vector<RGBQUAD> greys = PixelsOf(disabled.get(), width, height);
    const std::vector<RGBQUAD> opaque = PixelsOf(mask.get(), width, height);
    std::vector<int> opaquePixels(count);
    std::vector<std::string> faults;
    for (int i = 0; i < width * height; ++i) {
        const std::string where = "(" + std::to_string(i % width) + "," + std::to_string(i / width) + ")";
        const RGBQUAD& grey = greys[i];
        if (grey.rgbRed != grey.rgbGreen || grey.rgbGreen != grey.rgbBlue)
            faults.push_back("disabled pixel " + where + " is not grey");
        if (IsBlack(opaque[i]))
            ++opaquePixels[i % width / imageWidth];
        else if (!IsBlack(colours[i]) || !IsBlack(grey))
            // Image lists OR the image over the masked background.
            faults.push_back("pixel " + where + " is transparent in the mask but not black");
    }
    if (!faults.empty())
        ADD_FAILURE() << faults.size() << " faulty pixels, the first: " << faults.front();
    for (size_t image = 0; image < opaquePixels.size(); ++image)
        EXPECT_GT(opaquePixels[image], 0) << "toolbar image " << image << " is empty";
}

// Drawn for 96, 144 and 192 DPI.
const SIZE kPictureSizes[] = {{16, 15}, {24, 22}, {32, 30}};

TEST_F(ResourceTest, ToolbarStripsHoldSeventeenMaskedImagesInEachSize)
{
    ExpectMaskedStrip(IDB_TOOLBAR, IDB_TOOLBAR_DISABLED, IDB_TOOLBAR_MASK, 17, kPictureSizes[0]);
    ExpectMaskedStrip(IDB_TOOLBAR_24, IDB_TOOLBAR_DISABLED_24, IDB_TOOLBAR_MASK_24, 17, kPictureSizes[1]);
    ExpectMaskedStrip(IDB_TOOLBAR_32, IDB_TOOLBAR_DISABLED_32, IDB_TOOLBAR_MASK_32, 17, kPictureSizes[2]);
}

// The 13 tools, the three fills, the font and the mosaic block.
TEST_F(ResourceTest, AnnotationStripsHoldEighteenMaskedImagesInEachSize)
{
    ExpectMaskedStrip(IDB_ANNOTATE, IDB_ANNOTATE_DISABLED, IDB_ANNOTATE_MASK, 18, kPictureSizes[0]);
    ExpectMaskedStrip(IDB_ANNOTATE_24, IDB_ANNOTATE_DISABLED_24, IDB_ANNOTATE_MASK_24, 18, kPictureSizes[1]);
    ExpectMaskedStrip(IDB_ANNOTATE_32, IDB_ANNOTATE_DISABLED_32, IDB_ANNOTATE_MASK_32, 18, kPictureSizes[2]);
}

// The edits, 识别文字, 长截图, the four ways out and the floppy disk of 保存.
TEST_F(ResourceTest, DeskStripsHoldNineMaskedImagesInEachSize)
{
    ExpectMaskedStrip(IDB_DESK, IDB_DESK_DISABLED, IDB_DESK_MASK, 9, kPictureSizes[0]);
    ExpectMaskedStrip(IDB_DESK_24, IDB_DESK_DISABLED_24, IDB_DESK_MASK_24, 9, kPictureSizes[1]);
    ExpectMaskedStrip(IDB_DESK_32, IDB_DESK_DISABLED_32, IDB_DESK_MASK_32, 9, kPictureSizes[2]);
}

// Width and height from the bitmap header of every image in an icon or cursor group.
std::vector<std::pair<int, int>> GroupImageSizes(UINT group, LPCSTR groupType, LPCSTR imageType,
                                                 size_t headerOffset)
{
    std::vector<std::pair<int, int>> sizes;
    const auto [directory, directorySize] = ResourceBytes(MAKEINTRESOURCEA(group), groupType);
    EXPECT_NE(nullptr, directory) << "resource " << group;
    if (!directory)
        return sizes;
    const WORD count = Read<WORD>(directory, 4);
    EXPECT_EQ(6u + 14u * count, directorySize);
    for (WORD i = 0; i < count; ++i) {
        const WORD imageId = Read<WORD>(directory, 6 + 14 * i + 12);
        const auto [image, imageSize] = ResourceBytes(MAKEINTRESOURCEA(imageId), imageType);
        if (imageSize < headerOffset + sizeof(BITMAPINFOHEADER)) {
            ADD_FAILURE() << "image " << imageId << " of group " << group << " is cut short";
            continue;
        }
        const auto header = Read<BITMAPINFOHEADER>(image, headerOffset);
        sizes.emplace_back(header.biWidth, header.biHeight / 2);  // colour and mask stacked
    }
    return sizes;
}

TEST_F(ResourceTest, IconsComeIn16And32And48Pixels)
{
    const std::vector<std::pair<int, int>> expected = {{16, 16}, {32, 32}, {48, 48}};
    for (UINT icon : {IDR_MAINFRAME, IDR_IMAGETYPE}) {
        auto sizes = GroupImageSizes(icon, RT_GROUP_ICON, RT_ICON, 0);
        std::sort(sizes.begin(), sizes.end());
        EXPECT_EQ(expected, sizes) << "icon " << icon;
        for (int size : {16, 32, 48}) {
            CIconOwner loaded(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr),
                MAKEINTRESOURCEA(icon), IMAGE_ICON, size, size, 0)));
            EXPECT_NE(nullptr, loaded) << "icon " << icon << " at " << size;
        }
    }
}

// Drawn at 16, 24 and 32 pixels, the hot spot on the same fingertip pixel in each.
TEST_F(ResourceTest, HandCursorsComeIn16And24And32PixelsWithHotSpotAtFingertips)
{
    for (UINT cursor : {IDC_HAND_CLOSED, IDC_HAND_OPEN}) {
        // A cursor image starts with its hot spot, then the bitmap header.
        EXPECT_EQ((std::vector<std::pair<int, int>>{{16, 16}, {24, 24}, {32, 32}}),
                  GroupImageSizes(cursor, RT_GROUP_CURSOR, RT_CURSOR, 4))
            << "cursor " << cursor;
        const struct { int size; DWORD x, y; } hotSpots[] = {{16, 7, 4}, {24, 10, 6}, {32, 14, 8}};
        for (const auto& expected : hotSpots) {
            CCursorOwner loaded(static_cast<HCURSOR>(LoadImageA(GetModuleHandleA(nullptr),
                MAKEINTRESOURCEA(cursor), IMAGE_CURSOR, expected.size, expected.size, 0)));
            ASSERT_NE(nullptr, loaded) << "cursor " << cursor;
            ICONINFO info = {};
            ASSERT_TRUE(GetIconInfo(loaded.get(), &info));
            CBitmapOwner mask(info.hbmMask), colour(info.hbmColor);
            BITMAP bits = {};
            GetObjectA(info.hbmMask, sizeof bits, &bits);
            EXPECT_EQ(expected.size, bits.bmWidth) << "cursor " << cursor;
            EXPECT_FALSE(info.fIcon);
            EXPECT_EQ(expected.x, info.xHotspot) << "cursor " << cursor << " at " << expected.size;
            EXPECT_EQ(expected.y, info.yHotspot) << "cursor " << cursor << " at " << expected.size;
        }
    }
}

TEST_F(ResourceTest, ShutterSoundIsShortMonoPcmWave)
{
    const auto [wave, size] = ResourceBytes(MAKEINTRESOURCEA(IDR_SHUTTER), "WAVE");
    ASSERT_NE(nullptr, wave);
    ASSERT_EQ(3419u, size);
    EXPECT_EQ(0, std::memcmp(wave, "RIFF", 4));
    EXPECT_EQ(3411u, Read<DWORD>(wave, 4));
    EXPECT_EQ(0, std::memcmp(wave + 8, "WAVEfmt ", 8));
    EXPECT_EQ(16u, Read<DWORD>(wave, 16));
    const auto format = Read<PCMWAVEFORMAT>(wave, 20);
    EXPECT_EQ(WAVE_FORMAT_PCM, format.wf.wFormatTag);
    EXPECT_EQ(1, format.wf.nChannels);
    EXPECT_EQ(22050u, format.wf.nSamplesPerSec);
    EXPECT_EQ(22050u, format.wf.nAvgBytesPerSec);
    EXPECT_EQ(1, format.wf.nBlockAlign);
    EXPECT_EQ(8, format.wBitsPerSample);
    EXPECT_EQ(0, std::memcmp(wave + 36, "data", 4));
    EXPECT_EQ(3375u, Read<DWORD>(wave, 40));

    // Audible, and back to silence (8-bit samples centre on 128) at the end.
    int loudest = 0;
    for (DWORD i = 44; i < size; ++i)
        loudest = std::max(loudest, std::abs(wave[i] - 128));
    EXPECT_GT(loudest, 64);
    EXPECT_EQ(128, wave[size - 1]);
}

TEST_F(ResourceTest, ManifestAsksForCommonControls6AndDeclaresTheProgramDpiAware)
{
    const auto [manifest, size] = ResourceBytes(CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    ASSERT_NE(nullptr, manifest);
    const std::string text(reinterpret_cast<const char*>(manifest), size);
    const size_t dependency = text.find("name=\"Microsoft.Windows.Common-Controls\"");
    ASSERT_NE(std::string::npos, dependency);
    EXPECT_NE(std::string::npos, text.find("version=\"6.0.0.0\"", dependency));
    EXPECT_NE(std::string::npos, text.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">"
                                           "true/pm</dpiAware>"));
    EXPECT_NE(std::string::npos, text.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/"
                                           "WindowsSettings\">PerMonitorV2, PerMonitor, System</dpiAwareness>"));

    // The manifest is in effect: the common controls come from the side-by-side
    // store, not from the system folder. (Wine reports 5.81 for both copies, so
    // DllGetVersion cannot tell them apart.)
    HMODULE controls = LoadLibraryA("comctl32.dll");
    ASSERT_NE(nullptr, controls);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(controls, path, MAX_PATH);
    std::string lowerPath(path);
    std::transform(lowerPath.begin(), lowerPath.end(), lowerPath.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    EXPECT_NE(std::string::npos, lowerPath.find("microsoft.windows.common-controls")) << path;
    FreeLibrary(controls);
}

}  // namespace
