#include <gtest/gtest.h>

#include <string>

#include "Gbk.h"
#include "TempFolder.h"
#include "document/ImageFileDialogs.h"
#include "imageio/ImageFormats.h"
#include "imageio/TopDownDib.h"
#include "util/CharSearch.h"

namespace {
TEST(ImageFormats, ExtensionsChooseTheirFormatIgnoringCase)
{
    EXPECT_EQ(0, FindImageFormat("JPG"));
    EXPECT_EQ(0, FindImageFormat("jpeg"));
    EXPECT_EQ(0, FindImageFormat("jpe"));
    EXPECT_EQ(0, FindImageFormat("JFIF"));
    EXPECT_EQ(1, FindImageFormat("bmp"));
    EXPECT_EQ(1, FindImageFormat("DIB"));
    EXPECT_EQ(2, FindImageFormat("Png"));
    EXPECT_EQ(-1, FindImageFormat("gif"));
    EXPECT_EQ(-1, FindImageFormat("jp")) << "a prefix of a pattern is no match";
    EXPECT_EQ(-1, FindImageFormat("jpgx"));
    EXPECT_EQ(-1, FindImageFormat("dir\\readme"));
    EXPECT_EQ(-1, FindImageFormat(""));
}

TEST(ImageFormats, PatternListsAreWalkedByWholeCharacters)
{
    // 乗 is 81 5C in GBK: its trail byte must not end the pattern or the path.
    const std::string kanji = ToGbk("乗");
    const std::string list = "*.a;*." + kanji + "b;*.c";
    EXPECT_TRUE(MatchFilterExtension(list.c_str(), (kanji + "b").c_str()));
    EXPECT_TRUE(MatchFilterExtension(list.c_str(), "C"));
    EXPECT_FALSE(MatchFilterExtension(list.c_str(), kanji.c_str()));

    const std::string path = "C:\\" + kanji + ".dir\\" + kanji;
    EXPECT_STREQ(kanji.c_str(), FileNamePart(path.c_str()));
    EXPECT_EQ(path.c_str() + 3 + kanji.size(), FindLastChar(path.c_str(), '.'));
    EXPECT_STREQ("name", FileNamePart("name"));
}

TEST(ImageFormats, OnlyTheFileNameHasAnExtension)
{
    const std::string folder = ToGbk("D:\\照片.2024\\");
    const std::string name = ToGbk("截图");
    EXPECT_EQ(folder + name + ".bmp", ChangeExtension((folder + name).c_str(), "bmp"));
    EXPECT_EQ(folder + name + ".png", ChangeExtension((folder + name + ".jpg").c_str(), "png"));
    EXPECT_EQ("a.b/c.bmp", ChangeExtension("a.b/c", "bmp")) << "a typed path may use slashes";
    EXPECT_EQ("shot.tar.jpg", ChangeExtension("shot.tar.gz", "jpg"));
    // 乗 is 81 5C in GBK: its trail byte is no separator, so the dot before it counts.
    const std::string kanji = ToGbk("乗");
    EXPECT_EQ("x." + kanji + ".bmp", ChangeExtension(("x." + kanji + ".png").c_str(), "bmp"));
    EXPECT_EQ("x.bmp", ChangeExtension(("x." + kanji).c_str(), "bmp"));

    EXPECT_EQ(2, ImageFormatOfName((folder + "full1.PNG").c_str()));
    EXPECT_EQ(0, ImageFormatOfName("C:\\a.jpeg"));
    EXPECT_EQ(-1, ImageFormatOfName((folder + name).c_str())) << "the folder's dot names no format";
    EXPECT_EQ(-1, ImageFormatOfName("C:\\x.png\\readme"));
    EXPECT_EQ(-1, ImageFormatOfName("shot.gif"));
}

TEST(ImageFormats, EveryBarOfAStringTableFilterEndsAnEntry)
{
    FilterString filter;
    const std::string kanji = ToGbk("乗");  // 81 5C: no bar inside it either
    AppendBarSeparated(filter, ("a (*.x)|*.x|" + kanji + "|*.*|").c_str());
    EXPECT_EQ(std::string("a (*.x)\0*.x\0", 12) + kanji + std::string("\0*.*\0", 5),
              std::string(filter.GetString(), filter.GetLength()));
}

TEST(ImageFormats, FilterListsNameEveryFormatThenEndInADoubleZero)
{
    FilterString open;
    BuildOpenFilter(open);
    const std::string expectedOpen = std::string("JPEG (*.jpg;*.jpeg;*.jpe;*.jfif)\0*.jpg;*.jpeg;*.jpe;*.jfif\0"
                                                 "BMP (*.bmp;*.dib)\0*.bmp;*.dib\0PNG (*.png)\0*.png\0", 107) +
                                     ToGbk("GIF 动图 (*.gif)") + std::string("\0*.gif\0", 7) +
                                     ToGbk("所有文件 (*.*)") + std::string("\0*.*\0", 5);
    EXPECT_EQ(expectedOpen, std::string(open.GetString(), open.GetLength()));
    EXPECT_EQ('\0', open.GetString()[open.GetLength()]) << "the list ends in two zeros";

    FilterString save;
    BuildSaveFilter(save);
    EXPECT_EQ(std::string("JPEG (*.jpg;*.jpeg;*.jpe;*.jfif)\0*.jpg;*.jpeg;*.jpe;*.jfif\0"
                          "BMP (*.bmp;*.dib)\0*.bmp;*.dib\0PNG (*.png)\0*.png\0\0", 108),
              std::string(save.GetString(), save.GetLength()));
}

TEST(ImageFormats, SavingWithAnUnknownFormatTouchesNothing)
{
    const char path[] = "never-written.bin";
    DeleteFileA(path);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
    ReleaseDC(nullptr, screen);
    EXPECT_FALSE(SaveImageFile(bitmap, 3, path));
    EXPECT_FALSE(SaveImageFile(bitmap, -1, path));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path));
    DeleteObject(bitmap);
}
}

// A picture held as the program holds it is saved from its own rows and opens as the
// same kind of bitmap, the rows from the top, whatever the format: four flat quarters,
// which even JPEG keeps to within a step or two.
TEST(ImageFormats, EveryFormatSavesASectionAndOpensAsATopDown32BitSection)
{
    constexpr int kWidth = 48, kHeight = 32;
    const DWORD quarters[4] = {0xE02010, 0x10E020, 0x2010E0, 0xE0E0E0};
    const auto quarterOf = [&](int x, int y) { return quarters[(y >= kHeight / 2) * 2 + (x >= kWidth / 2)]; };
    DWORD* pixels = nullptr;
    const CBitmapOwner picture = CreateTopDownDib(kWidth, kHeight, pixels);
    ASSERT_TRUE(picture);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels[y * kWidth + x] = quarterOf(x, y);
    CTempFolder folder;
    for (int format = 0; format < kImageFormatCount; ++format) {
        const std::string path = folder.PathOf("picture.") + g_imageFormats[format].extension;
        ASSERT_TRUE(SaveImageFile(picture.get(), format, path.c_str())) << path;
        const CBitmapOwner opened(ReadImageFile(path.c_str(), format));
        ASSERT_TRUE(opened) << path;
        DIBSECTION section{};
        ASSERT_EQ(int(sizeof section), GetObjectA(opened.get(), sizeof section, &section)) << path;
        ASSERT_EQ(32, section.dsBm.bmBitsPixel) << path;
        const auto* bits = static_cast<const DWORD*>(section.dsBm.bmBits);
        for (const POINT& at : {POINT{8, 6}, POINT{40, 6}, POINT{8, 26}, POINT{40, 26}}) {
            const DWORD read = bits[at.y * kWidth + at.x], wanted = quarterOf(at.x, at.y);
            for (int shift : {0, 8, 16})
                EXPECT_NEAR(int(wanted >> shift & 0xFF), int(read >> shift & 0xFF), 2)
                    << path << " at " << at.x << "," << at.y;
        }
    }
}
