#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "util/FastString.h"

using Vorn::CFastString;

namespace {

std::string Bytes(const CFastString<64>& text)
{
    return std::string(text.GetString(), text.GetLength());
}

}  // namespace

TEST(FastString, FillsToCapacityAndOverflowChangesNothing)
{
    CFastString<64> text;
    EXPECT_EQ(0u, text.GetLength());
    EXPECT_EQ('\0', text.GetString()[0]);

    text.Append(std::string(63, 'x').c_str());
    EXPECT_THROW(text.Append("yz"), CFastString<64>::COverflow);
    EXPECT_EQ(std::string(63, 'x'), Bytes(text));

    text.Append('y');
    ASSERT_EQ(64u, text.GetLength());
    EXPECT_THROW(text.Append('z'), CFastString<64>::COverflow);
    EXPECT_THROW(text.Append("z", 1), CFastString<64>::COverflow);
    EXPECT_EQ(std::string(63, 'x') + "y", Bytes(text));
    EXPECT_EQ('\0', text.GetString()[64]);

    text.Append("", 0);
    EXPECT_EQ(64u, text.GetLength());
}

TEST(FastString, ZeroBytesCountTowardTheLength)
{
    CFastString<64> text;
    text.Append('a');
    text.Append('\0');
    text.Append('b');
    EXPECT_EQ(std::string("a\0b", 3), Bytes(text));
    EXPECT_EQ('\0', text.GetString()[3]);

    // A zero-terminated text stops at its first zero.
    text.Append("cd\0ef");
    EXPECT_EQ(std::string("a\0bcd", 5), Bytes(text));
}

TEST(FastString, BuildsADialogFilterListInPlace)
{
    CFastString<64> filter;
    filter.Append("JPEG|*.jpg;*.jpeg|");
    for (uint32_t i = 0; i < filter.GetLength(); ++i) {
        if (filter[i] == '|')
            filter[i] = '\0';
    }
    filter.Append('\0');

    // The list ends in two zeros: the last appended one and the terminator.
    const char expected[] = "JPEG\0*.jpg;*.jpeg\0";
    EXPECT_EQ(std::string(expected, sizeof expected), Bytes(filter));
    EXPECT_EQ('\0', filter.GetString()[filter.GetLength()]);
}

TEST(FastString, LoadsStringTableTextsInTheAnsiCodePage)
{
    ASSERT_EQ(936u, GetACP()) << "tests must run with LC_ALL=zh_CN.UTF-8";

    CFastString<64> title;
    title.LoadString(IDR_MAINFRAME);
    EXPECT_EQ("Lumigrab", Bytes(title));

    // "快照-" in GBK.
    CFastString<64> prefix;
    prefix.LoadString(IDS_DEFAULT_PREFIX);
    EXPECT_EQ("\xBF\xEC\xD5\xD5-", Bytes(prefix));

    // A text exactly as long as the capacity still loads whole.
    CFastString<8> exact;
    exact.LoadString(IDR_MAINFRAME);
    EXPECT_EQ(8u, exact.GetLength());
    EXPECT_STREQ("Lumigrab", exact.GetString());
}

TEST(FastString, LoadingAMissingStringLeavesItEmpty)
{
    CFastString<64> text;
    text.Append("previous");
    text.LoadString(0xFFF0);
    EXPECT_EQ(0u, text.GetLength());
    EXPECT_EQ('\0', text.GetString()[0]);
}
