#include <gtest/gtest.h>

#include <string>

#include "Gbk.h"
#include "util/TruncateText.h"

TEST(TruncateText, CutsAtTheLimitWithoutSplittingADoubleByteCharacter)
{
    ASSERT_EQ(936u, GetACP());
    EXPECT_EQ("abc", TruncateToWholeChars("abc", 63));
    EXPECT_EQ(std::string(63, 'x'), TruncateToWholeChars(std::string(70, 'x').c_str(), 63));

    // One ASCII byte, then 40 double-byte characters: the 32nd would end at byte 65.
    std::string mixed = "x";
    for (int i = 0; i < 40; ++i)
        mixed += ToGbk("皮");
    const std::string cut = TruncateToWholeChars(mixed.c_str(), 63);
    EXPECT_EQ(mixed.substr(0, 63), cut);
    const std::string evenCut = TruncateToWholeChars(mixed.c_str() + 1, 63);
    EXPECT_EQ(mixed.substr(1, 62), evenCut);
}
