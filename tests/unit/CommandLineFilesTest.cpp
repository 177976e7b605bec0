#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "Gbk.h"
#include "TempFolder.h"
#include "app/CommandLineFiles.h"
#include "util/AnsiPath.h"

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

// A name with characters code page 936 lacks goes by its short name, which the ANSI
// functions open; without one it is marked unusable rather than taken for a missing file.
TEST(CommandLineFiles, ANameTheCodePageCannotHoldGoesByItsShortName)
{
    CTempFolder folder;
    std::wstring wideFolder(MAX_PATH, L'\0');
    wideFolder.resize(MultiByteToWideChar(CP_ACP, 0, folder.Path().c_str(), -1, &wideFolder[0], MAX_PATH) - 1);
    const std::wstring thai = wideFolder + L"\\\u0e20\u0e32\u0e1e.png";
    HANDLE file = CreateFileW(thai.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);

    const std::vector<std::string> files =
        ReadCommandLine((L"lumigrab.exe \"" + thai + L"\" \"" + wideFolder + L"\\\u0e01.png\"").c_str()).files;
    ASSERT_EQ(2u, files.size());
    EXPECT_FALSE(HasUnusableName(files[0].c_str())) << files[0];
    file = CreateFileA(files[0].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, file) << files[0];
    CloseHandle(file);
    EXPECT_TRUE(HasUnusableName(files[1].c_str())) << "no file, no short name: " << files[1];
    EXPECT_FALSE(HasUnusableName("\\\\?\\C:\\a.png"));
}
