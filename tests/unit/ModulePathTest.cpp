#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "Gbk.h"
#include "util/ModulePath.h"

namespace {

std::string Sibling(const std::string& modulePath, const char* fileName)
{
    char path[MAX_PATH];
    return MakeSiblingPath(modulePath.c_str(), fileName, path) ? path : "(failed)";
}

}  // namespace

TEST(ModulePath, ReplacesTheFileNameAfterTheLastBackslash)
{
    EXPECT_EQ("C:\\Program Files\\Lumigrab\\lumigrab.cfg",
              Sibling("C:\\Program Files\\Lumigrab\\lumigrab.exe", "lumigrab.cfg"));
    EXPECT_EQ("\\\\server\\share\\help.chm", Sibling("\\\\server\\share\\a.b.exe", "help.chm"));
    EXPECT_EQ("(failed)", Sibling("lumigrab.exe", "lumigrab.cfg"));
}

// In GBK the trail byte of some characters is 0x5C, the backslash.
TEST(ModulePath, TrailBytesAreNotBackslashes)
{
    ASSERT_EQ(936u, GetACP()) << "tests must run with LC_ALL=zh_CN.UTF-8";
    ASSERT_EQ("\x81\x5C", ToGbk(L"乗"));

    EXPECT_EQ(ToGbk(L"C:\\快照\\oteditor.cfg"), Sibling(ToGbk(L"C:\\快照\\截图乗.exe"), "oteditor.cfg"));
    EXPECT_EQ(ToGbk(L"C:\\乗\\snapcore.dll"), Sibling(ToGbk(L"C:\\乗\\乗"), "snapcore.dll"));
    EXPECT_EQ("(failed)", Sibling(ToGbk(L"乗乗.exe"), "help.chm"));
}

TEST(ModulePath, RefusesAResultLongerThanAPath)
{
    const std::string folder = "C:\\" + std::string(200, 'd') + "\\";
    const std::string longestName(MAX_PATH - 1 - folder.size(), 'n');

    EXPECT_EQ(folder + longestName, Sibling(folder + "x.exe", longestName.c_str()));
    EXPECT_EQ("(failed)", Sibling(folder + "x.exe", (longestName + "n").c_str()));
}

TEST(ModulePath, FindsFilesNextToTheRunningProgram)
{
    char module[MAX_PATH];
    ASSERT_NE(0u, GetModuleFileNameA(nullptr, module, MAX_PATH));
    const std::string exe = module;

    char path[MAX_PATH];
    ASSERT_TRUE(MakeModuleFilePath("lumigrab.cfg", path));
    EXPECT_EQ(exe.substr(0, exe.rfind('\\') + 1) + "lumigrab.cfg", path);

    EXPECT_FALSE(MakeModuleFilePath(std::string(MAX_PATH, 'n').c_str(), path));
}
