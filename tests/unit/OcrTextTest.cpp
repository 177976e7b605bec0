#include <gtest/gtest.h>

#include "ocr/OcrText.h"

namespace {

TEST(OcrText, ChineseIsJoinedEnglishKeepsItsSpacesAndLinesStayLines)
{
    EXPECT_EQ(L"设置 Settings 123", TidyOcrLine(L"设 置 Settings 123"));
    EXPECT_EQ(L"使用 Windows 10 系统", TidyOcrLine(L"使用 Windows 10 系 统"));
    EXPECT_EQ(L"你好，世界。「确定」", TidyOcrLine(L"你 好 ，  世 界 。 「 确 定 」"));
    EXPECT_EQ(L"Hello  world, it's 10:30", TidyOcrLine(L"Hello  world, it's 10:30  \n"));
    EXPECT_EQ(L" (A) 中文", TidyOcrLine(L" (A) 中文 "));
    EXPECT_EQ(L"第一行\r\nline two\r\n", JoinOcrLines({L"第 一 行 ", L"line two\n", L" "}));
}

TEST(OcrText, NoSpaceBesideFullWidthPunctuation)
{
    EXPECT_EQ(L"文件大小：3.5 MB，共 128 页", TidyOcrLine(L"文件大小： 3.5 MB ，共 128 页"));
    EXPECT_EQ(L"目前（48.6 MB）", TidyOcrLine(L"目前 （ 48.6 MB ）"));
    EXPECT_EQ(L"他说“你好”然后 OK", TidyOcrLine(L"他说 “你好” 然后 OK"));
    EXPECT_EQ(L"He said “hi” to me, ok", TidyOcrLine(L"He said “hi” to me, ok")) << "English quotes keep spaces";
}

// Small round brackets are often read as braces or angle quotes; a pair of two kinds with a
// round one in it is a round pair.
TEST(OcrText, AMismatchedBracketPairIsRound)
{
    EXPECT_EQ(L"文件(F)编辑(E) (64位)", PairBrackets(L"文件{F)编辑(E} 《64位)"));
    EXPECT_EQ(L"{a} [b] 《书》 {c]", PairBrackets(L"{a} [b] 《书》 {c]")) << "matched, or no round one";
    EXPECT_EQ(L"(a (b) {c", PairBrackets(L"(a (b) {c")) << "unclosed";
}

// Characters 20 high; the mark's neighbours' ink gap is 22 (a whole cell) or 10. The engine
// reads a mark's shape but not its width, and its boxes are loose: after a Chinese character
// or before one a mark is the full-width one, as Chinese is typed; elsewhere a mark in a
// whole cell is.
TEST(OcrText, LatinPunctuationBesideAChineseCharacterOrInItsWholeCellBecomesFullWidth)
{
    const auto around = [](const wchar_t* before, const wchar_t* mark, const wchar_t* after, LONG gap) {
        return std::vector<SOcrSymbol>{
            {before, {0, 0, 20, 20}}, {mark, {22, 4, 26, 20}}, {after, {20 + gap, 0, 40 + gap, 20}}};
    };
    const std::vector<SOcrSymbol> chinese = {{L"中", {100, 0, 120, 20}}};
    const auto withChinese = [&](std::vector<SOcrSymbol> symbols) {
        symbols.insert(symbols.end(), chinese.begin(), chinese.end());
        return symbols;
    };
    EXPECT_EQ(L"小：3\n", WidenPunctuation(L"小:3\n", around(L"小", L":", L"3", 10)));
    EXPECT_EQ(L"吗 ？ 此", WidenPunctuation(L"吗 ? 此", around(L"吗", L"?", L"此", 22)));
    EXPECT_EQ(L"好！", WidenPunctuation(L"好!", {{L"好", {0, 0, 20, 20}}, {L"!", {22, 0, 26, 20}}})) << "at the end";
    EXPECT_EQ(L"B，共", WidenPunctuation(L"B,共", around(L"B", L",", L"共", 10)));
    EXPECT_EQ(L"B ， c中", WidenPunctuation(L"B , c中", withChinese(around(L"B", L",", L"c", 22))));
    EXPECT_EQ(L"B , c中", WidenPunctuation(L"B , c中", withChinese(around(L"B", L",", L"c", 10))));
    EXPECT_EQ(L"0:4中", WidenPunctuation(L"0:4中", withChinese(around(L"0", L":", L"4", 10))));
    EXPECT_EQ(L"件(编", WidenPunctuation(L"件(编", around(L"件", L"(", L"编", 22))) << "menus' brackets are narrow";
    EXPECT_EQ(L"a , b", WidenPunctuation(L"a , b", around(L"a", L",", L"b", 22))) << "no Chinese character";
    EXPECT_EQ(L"吗 ? 此", WidenPunctuation(L"吗 ? 此", around(L"吗", L"!", L"此", 22))) << "not this line's";
}

}  // namespace
