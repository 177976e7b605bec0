#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "Gbk.h"
#include "app/CommandLineFiles.h"

// The program's own name is skipped; quotes group, backslashes stay, and each name
// becomes a full path in the ANSI code page.
TEST(CommandLineFiles, SplitsByTheSystemRulesAndMakesFullPaths)
{
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    std::string current(folder);
    if (current.back() != '\\')
        current += '\\';

    const std::vector<std::string> expected = {"C:\\pics\\a.png", current + "b c.jpg",
                                               ToGbk("D:\\截图\\新 图.bmp")};
    EXPECT_EQ(expected, CommandLineFiles(L"\"C:\\Program Files\\lumigrab.exe\" C:\\pics\\a.png \"b c.jpg\" "
                                         L"\"D:\\\u622a\u56fe\\\u65b0 \u56fe.bmp\""));
    EXPECT_TRUE(CommandLineFiles(L"lumigrab.exe").empty());
    EXPECT_TRUE(CommandLineFiles(L"lumigrab.exe \"\"").empty()) << "an empty name opens nothing";
}
