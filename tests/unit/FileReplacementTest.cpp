#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CodecTestFiles.h"
#include "NativeShell.h"
#include "unit/ImportSlot.h"
#include "util/FileReplacement.h"
#include "util/Win32Error.h"

extern decltype(&CloseHandle) g_closeHandleSlot asm(IMPORT_SLOT_NAME(CloseHandle, 4));

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

void Replace(const std::string& path, const std::string& text)
{
    CFileReplacement replacement(path.c_str(), CFileReplacement::kReplaceExisting);
    WriteText(replacement, text);
    replacement.Commit();
}

// Counts this program's calls of CloseHandle on one handle, passing every call on.
class CCloseCounter {
public:
    explicit CCloseCounter(HANDLE watched)
    {
        s_watched = watched;
        s_count = 0;
        s_real = m_slot.Original();
    }
    int Count() const { return s_count; }

private:
    static BOOL WINAPI Counting(HANDLE handle)
    {
        if (handle == s_watched)
            ++s_count;
        return s_real(handle);
    }

    CImportSlot<decltype(&CloseHandle)> m_slot{g_closeHandleSlot, &Counting};
    static inline decltype(&CloseHandle) s_real = nullptr;
    static inline HANDLE s_watched = nullptr;
    static inline int s_count = 0;
};

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
    EXPECT_EQ(DWORD(ERROR_PATH_NOT_FOUND), ConstructionError(folder.PathOf("missing\\a.bmp")));

    const std::string readOnly = folder.PathOf("read-only.bmp");
    WriteFileBytes(readOnly, "original");
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), ConstructionError(readOnly));
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ("original", ReadFileBytes(readOnly));
    EXPECT_EQ(Names{"read-only.bmp"}, folder.FileNames());
}

TEST(FileReplacement, AHandleThatWillNotCloseIsClosedOnce)
{
    CodecTempFolder folder;
    const std::string path = folder.PathOf("target.bin");
    HANDLE handle = nullptr;
    {
        CFileReplacement replacement(path.c_str(), CFileReplacement::kReplaceExisting);
        handle = replacement.GetHandle();
        ASSERT_TRUE(SetHandleInformation(handle, HANDLE_FLAG_PROTECT_FROM_CLOSE, HANDLE_FLAG_PROTECT_FROM_CLOSE));
        CCloseCounter closes(handle);
        EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), Win32ErrorOf([&] { replacement.Commit(); }));
        EXPECT_EQ(1, closes.Count());
    }
    SetHandleInformation(handle, HANDLE_FLAG_PROTECT_FROM_CLOSE, 0);
    EXPECT_TRUE(CloseHandle(handle));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str())) << "a failed commit moves nothing";
}

TEST(FileReplacement, ALinkStaysALinkAndAFileKeepsItsAttributes)
{
    CodecTempFolder folder;
    const std::string real = folder.PathOf("real.png");
    const std::string link = folder.PathOf("link.png");
    WriteFileBytes(real, "old");
    ASSERT_EQ(0, RunNativeShell("ln -s real.png '" + UnixPath(link) + "'"));
    Replace(link, "new");
    EXPECT_EQ("new", ReadFileBytes(real)) << "written through the link";
    EXPECT_EQ(0, RunNativeShell("test -L '" + UnixPath(link) + "'")) << "still a link";
    EXPECT_EQ(2u, folder.FileNames().size());

    ASSERT_TRUE(SetFileAttributesA(real.c_str(), FILE_ATTRIBUTE_HIDDEN));
    Replace(real, "newer");
    EXPECT_EQ("newer", ReadFileBytes(real));
    EXPECT_TRUE(GetFileAttributesA(real.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}
