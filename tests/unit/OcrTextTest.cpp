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

}  // namespace
