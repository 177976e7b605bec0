#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/HandedFiles.h"

namespace {
bool Unpack(std::vector<char> block, std::vector<std::string>& files, ULONG_PTR tag = kHandedFilesTag)
{
    COPYDATASTRUCT data{tag, static_cast<DWORD>(block.size()), block.data()};
    return UnpackHandedFiles(data, files);
}
}  // namespace

TEST(HandedFiles, ComeBackAsTheyWentAndADamagedBlockNamesNothing)
{
    // A path too long for the program still arrives, so that opening it can say so.
    const std::vector<std::string> sent = {"C:\\a.png", "D:\\\xBD\xD8\xCD\xBC\\b c.jpg", std::string(300, 'a')};
    std::vector<std::string> received;
    ASSERT_TRUE(Unpack(PackHandedFiles(sent), received));
    EXPECT_EQ(sent, received);
    EXPECT_TRUE(Unpack(PackHandedFiles({}), received));
    EXPECT_TRUE(received.empty());

    const std::vector<char> good = PackHandedFiles(sent);
    std::vector<char> cut(good.begin(), good.end() - 1);  // the last path loses its end
    std::vector<char> longer = good;
    longer.push_back('x');
    std::vector<char> otherVersion = good;
    otherVersion[0] = 2;
    std::vector<char> bigCount = good;
    bigCount[4] = 4;
    std::vector<char> emptyPath = PackHandedFiles({"C:\\a.png", ""});
    for (const auto& damaged : {cut, longer, otherVersion, bigCount, emptyPath,
                                std::vector<char>(good.begin(), good.begin() + 7)}) {
        received = {"left over"};
        EXPECT_FALSE(Unpack(damaged, received));
        EXPECT_TRUE(received.empty());
    }
    EXPECT_FALSE(Unpack(good, received, kHandedFilesTag + 1)) << "another program's block";
}
