#include <gtest/gtest.h>

#include <string>

#include "Gbk.h"
#include "document/ImageFiles.h"
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

TEST(ImageFormats, FilterListsNameEveryFormatThenEndInADoubleZero)
{
    FilterString open;
    BuildOpenFilter(open);
    const std::string expectedOpen = std::string("JPEG (*.jpg;*.jpeg;*.jpe;*.jfif)\0*.jpg;*.jpeg;*.jpe;*.jfif\0"
                                                 "BMP (*.bmp;*.dib)\0*.bmp;*.dib\0PNG (*.png)\0*.png\0", 107) +
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
