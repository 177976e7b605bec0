#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CodecTestFiles.h"
#include "util/FileReplacement.h"
#include "util/Win32Error.h"

namespace {

using Names = std::vector<std::string>;

void WriteText(const CFileReplacement& replacement, const std::string& text)
{
    DWORD dwWritten = 0;
    ASSERT_TRUE(WriteFile(replacement.GetHandle(), text.data(), DWORD(text.size()), &dwWritten, nullptr));
}

// The code of the CWin32Error the action throws, or ERROR_SUCCESS.
template <typename Action>
DWORD Win32ErrorOf(Action action)
{
    try {
        action();
    } catch (const Vorn::CWin32Error& error) {
        return error.GetCode();
    }
    return ERROR_SUCCESS;
}

DWORD ConstructionError(const std::string& path)
{
    return Win32ErrorOf([&] { CFileReplacement replacement(path.c_str(), CFileReplacement::kReplaceExisting); });
}

}  // namespace

TEST(FileReplacement, TheTargetChangesOnlyOnCommitAndNoTemporaryStays)
{
    CodecTempFolder folder;
    const std::string path = folder.PathOf("target.cfg");
    WriteFileBytes(path, "the old, longer content");
    {
        CFileReplacement replacement(path.c_str(), CFileReplacement::kReplaceExisting);
        WriteText(replacement, "new");
        EXPECT_EQ("the old, longer content", ReadFileBytes(path)) << "nothing is touched before the commit";
        EXPECT_EQ(2u, folder.FileNames().size()) << "the temporary sits beside the target";
        replacement.Commit();
    }
    EXPECT_EQ("new", ReadFileBytes(path));
    EXPECT_EQ(Names{"target.cfg"}, folder.FileNames());

    std::string slashed = path;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    {
        CFileReplacement abandoned(slashed.c_str(), CFileReplacement::kReplaceExisting);
        WriteText(abandoned, "half of a wr");
        EXPECT_EQ(2u, folder.FileNames().size()) << "forward slashes name the same folder";
    }
    EXPECT_EQ("new", ReadFileBytes(path)) << "a write that never commits leaves the file as it was";
    EXPECT_EQ(Names{"target.cfg"}, folder.FileNames());
}

TEST(FileReplacement, CreateNewNeverReplacesAnExistingFile)
{
    CodecTempFolder folder;
    const std::string taken = folder.PathOf("taken.jpg");
    WriteFileBytes(taken, "keep me");
    CFileReplacement clash(taken.c_str(), CFileReplacement::kCreateNew);
    WriteText(clash, "other");
    EXPECT_EQ(DWORD(ERROR_ALREADY_EXISTS), Win32ErrorOf([&] { clash.Commit(); }));
    EXPECT_EQ("keep me", ReadFileBytes(taken));
    EXPECT_EQ(Names{"taken.jpg"}, folder.FileNames());

    const std::string fresh = folder.PathOf("fresh.jpg");
    CFileReplacement creation(fresh.c_str(), CFileReplacement::kCreateNew);
    WriteText(creation, "made");
    EXPECT_EQ(DWORD(ERROR_SUCCESS), Win32ErrorOf([&] { creation.Commit(); }));
    EXPECT_EQ("made", ReadFileBytes(fresh));
}

TEST(FileReplacement, AMissingFolderOrAReadOnlyTargetFailsBeforeAnythingIsWritten)
{
    CodecTempFolder folder;
    EXPECT_EQ(DWORD(ERROR_DIRECTORY), ConstructionError(folder.PathOf("missing\\a.bmp")));

    const std::string readOnly = folder.PathOf("read-only.bmp");
    WriteFileBytes(readOnly, "original");
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), ConstructionError(readOnly));
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ("original", ReadFileBytes(readOnly));
    EXPECT_EQ(Names{"read-only.bmp"}, folder.FileNames());
}
