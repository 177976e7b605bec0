#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "ScreenText.h"
#include "ocr/OcrPreprocess.h"

namespace {

const std::vector<std::wstring> kTwoLines = {L"设置 Settings 123", L"文件(F) 编辑(E) 帮助"};

TEST(OcrPreprocess, TellsLightOnDarkFromDarkOnLightWhateverTheGreys)
{
    for (const COLORREF dark : {RGB(0, 0, 0), RGB(0x2B, 0x2B, 0x2B), RGB(0x10, 0x20, 0x60)}) {
        for (const COLORREF light : {RGB(0xFF, 0xFF, 0xFF), RGB(0xC8, 0xC8, 0xC8), RGB(0xF0, 0xE0, 0x90)}) {
            const SScreenText lightOnDark = DrawScreenText(kTwoLines, 14, light, dark);
            const SScreenText darkOnLight = DrawScreenText(kTwoLines, 14, dark, light);
            EXPECT_TRUE(IsLightOnDark(lightOnDark.pixels.data(), lightOnDark.width, lightOnDark.height))
                << std::hex << light << " on " << dark;
            EXPECT_FALSE(IsLightOnDark(darkOnLight.pixels.data(), darkOnLight.width, darkOnLight.height))
                << std::hex << dark << " on " << light;
        }
    }
    const DWORD flat[4] = {0x808080, 0x808080, 0x808080, 0x808080};
    EXPECT_FALSE(IsLightOnDark(flat, 2, 2));
}

TEST(OcrPreprocess, ScalesScreenTextToLinesOfAboutThirtyFivePixels)
{
    for (const int pixels : {12, 14, 16, 20, 24}) {
        const SScreenText text = DrawScreenText(kTwoLines, pixels, RGB(0xE0, 0xE0, 0xE0), RGB(0x1E, 0x1E, 0x1E));
        const STextLines lines = MeasureTextLines(text.pixels.data(), text.width, text.height);
        EXPECT_EQ(2, lines.count) << pixels << " px";
        EXPECT_GE(lines.height, pixels * 3 / 4) << pixels << " px";
        EXPECT_LE(lines.height, pixels + 2) << pixels << " px";
        const double scaled = lines.height * ChooseOcrScale(lines.height);
        EXPECT_TRUE(scaled >= 30 && scaled <= 40) << pixels << " px text measured " << lines.height << " high";
    }
    EXPECT_EQ(4.0, ChooseOcrScale(3));
    EXPECT_EQ(1.0, ChooseOcrScale(80));
    EXPECT_EQ(1.0, ChooseOcrScale(0)) << "no text found";
    const DWORD blank[6] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    EXPECT_EQ(0, MeasureTextLines(blank, 3, 2).count);
}

TEST(OcrPreprocess, ReadsOneLineABlockOrAWholeScreenAndHandsTheEngineDarkOnLight)
{
    const SScreenText one = DrawScreenText({L"设置 Settings 123"}, 14, RGB(0xFF, 0xFF, 0xFF), RGB(0, 0, 0));
    const SOcrInput line = PrepareScreenText(one.pixels.data(), one.width, one.height, EOcrPageMode::Choose);
    EXPECT_EQ(EOcrPageMode::SingleLine, line.pageMode);
    EXPECT_EQ(255, line.grey.front()) << "white text on black is read as black on white";
    EXPECT_EQ(line.width, static_cast<int>(std::lround(one.width * line.scale)) + 2 * line.margin);
    int darkest = 255;
    for (const unsigned char grey : line.grey)
        darkest = std::min<int>(darkest, grey);
    EXPECT_LT(darkest, 40) << "the strokes' cores stay dark when scaled";

    const SScreenText two = DrawScreenText(kTwoLines, 14, RGB(0, 0, 0), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(EOcrPageMode::Block,
              PrepareScreenText(two.pixels.data(), two.width, two.height, EOcrPageMode::Choose).pageMode);
    const STextLines screenLines{14, 40};
    EXPECT_EQ(EOcrPageMode::Auto, ChooseOcrPageMode(1920, 1080, screenLines));
    EXPECT_EQ(EOcrPageMode::Block,
              PrepareScreenText(one.pixels.data(), one.width, one.height, EOcrPageMode::Block).pageMode);
}

}  // namespace
