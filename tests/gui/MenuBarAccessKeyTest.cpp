#include <gtest/gtest.h>

#include "Gbk.h"
#include "gui/MenuBarTestHost.h"
#include "ui/MenuAccessKey.h"

TEST(MenuBarAccessKey, MatchesTheCharacterAfterTheAmpersandInEitherCase)
{
    const std::string file = ToGbk("文件(&F)");
    EXPECT_TRUE(MenuAccessKeyMatches(file.c_str(), 'F'));
    EXPECT_TRUE(MenuAccessKeyMatches(file.c_str(), 'f'));
    EXPECT_FALSE(MenuAccessKeyMatches(file.c_str(), 'E'));
    EXPECT_FALSE(MenuAccessKeyMatches("10%", '1'));
    EXPECT_FALSE(MenuAccessKeyMatches("", 'a'));
    EXPECT_FALSE(MenuAccessKeyMatches("trailing&", 'g'));
}

TEST(MenuBarAccessKey, DoubledAmpersandIsTextAndDoubleByteCharactersStayWhole)
{
    EXPECT_FALSE(MenuAccessKeyMatches("A&&B", 'B'));
    EXPECT_TRUE(MenuAccessKeyMatches("A&&B &C", 'c'));
    // 图 is 0xCD 0xBC in code page 936: an access key of its own, never its trail byte.
    const std::string image = ToGbk("&图像");
    ASSERT_EQ(image.substr(1, 2), "\xCD\xBC");
    EXPECT_TRUE(MenuAccessKeyMatches(image.c_str(), MAKEWORD(0xBC, 0xCD)));
    EXPECT_FALSE(MenuAccessKeyMatches(image.c_str(), 0xBC));
    EXPECT_FALSE(MenuAccessKeyMatches(image.c_str(), 0xCD));
}
