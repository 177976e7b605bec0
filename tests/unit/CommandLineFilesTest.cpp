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
    EXPECT_EQ(expected, ReadCommandLine(L"\"C:\\Program Files\\lumigrab.exe\" C:\\pics\\a.png \"b c.jpg\" "
                                        L"\"D:\\\u622a\u56fe\\\u65b0 \u56fe.bmp\"").files);
    EXPECT_TRUE(ReadCommandLine(L"lumigrab.exe").files.empty());
    EXPECT_TRUE(ReadCommandLine(L"lumigrab.exe \"\"").files.empty()) << "an empty name opens nothing";
}

// Switches in either form and any case are taken out; look-alikes stay files.
TEST(CommandLineFiles, TakesOutTheSwitches)
{
    const CommandLineRequest both = ReadCommandLine(L"lumigrab.exe /NEW C:\\a.png -Tray");
    EXPECT_TRUE(both.newCopy);
    EXPECT_TRUE(both.tray);
    EXPECT_EQ(std::vector<std::string>{"C:\\a.png"}, both.files);

    const CommandLineRequest none = ReadCommandLine(L"lumigrab.exe C:\\new /newer");
    EXPECT_FALSE(none.newCopy);
    EXPECT_FALSE(none.tray);
    EXPECT_EQ(2u, none.files.size());
}
