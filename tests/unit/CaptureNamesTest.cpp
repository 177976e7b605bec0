#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "Gbk.h"
#include "TempFolder.h"
#include "capture/AutoSave.h"
#include "capture/CaptureNames.h"
#include "settings/Settings.h"

namespace {

class CaptureNames : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_saved = g_settings;
        g_settings.SetDefaults();
        g_settings.m_strSaveFolder = "C:\\shots";
    }
    void TearDown() override { g_settings = m_saved; }

    std::string AutoSavePath(const SYSTEMTIME& time, int copy = 1)
    {
        CaptureName path;
        return MakeAutoSavePath(time, copy, path) ? std::string(path) : "(none)";
    }

    CSettings m_saved;
};

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

TEST_F(CaptureNames, DigitsAreUnpaddedSoDifferentTimesCanShareANameAndCopiesAreNumbered)
{
    const std::string prefix = ToGbk("快照-");
    EXPECT_EQ(AutoSavePath(Time(2005, 3, 7, 9, 5, 2)), "C:\\shots\\" + prefix + "200537952.jpg");
    EXPECT_EQ(AutoSavePath(Time(2005, 1, 11, 10, 20, 30)), AutoSavePath(Time(2005, 11, 1, 10, 20, 30)));
    EXPECT_EQ(AutoSavePath(Time(2005, 1, 11, 10, 20, 30), 2), "C:\\shots\\" + prefix + "2005111102030-2.jpg");
    EXPECT_EQ(AutoSavePath(Time(2005, 1, 11, 10, 20, 30), 9999), "C:\\shots\\" + prefix + "2005111102030-9999.jpg");

    g_settings.m_nSaveType = 1;
    EXPECT_EQ(AutoSavePath(Time(2005, 3, 7, 9, 5, 2)), "C:\\shots\\" + prefix + "200537952.bmp");
}

TEST_F(CaptureNames, FolderGetsExactlyOneBackslashCountingDoubleByteCharacters)
{
    g_settings.m_strNamePrefix = "s";
    const SYSTEMTIME time = Time(2005, 3, 7, 9, 5, 2);
    EXPECT_EQ(AutoSavePath(time), "C:\\shots\\s200537952.jpg");
    g_settings.m_strSaveFolder = "C:\\shots\\";
    EXPECT_EQ(AutoSavePath(time), "C:\\shots\\s200537952.jpg");
    // The trail byte of this character is 0x5C, which is not a backslash of its own.
    g_settings.m_strSaveFolder = "C:\\" + ToGbk("乗");
    EXPECT_EQ(AutoSavePath(time), "C:\\" + ToGbk("乗") + "\\s200537952.jpg");
}

TEST_F(CaptureNames, NoPathWithoutFolderForAnUnknownTypeOrBeyondTheBuffers)
{
    const SYSTEMTIME time = Time(2005, 3, 7, 9, 5, 2);
    g_settings.m_strSaveFolder.clear();
    EXPECT_EQ(AutoSavePath(time), "(none)");
    g_settings.m_strSaveFolder = "C:\\shots";
    for (int type : {-1, 3}) {
        g_settings.m_nSaveType = type;
        EXPECT_EQ(AutoSavePath(time), "(none)") << type;
    }
    g_settings.m_nSaveType = 0;
    g_settings.m_strNamePrefix.assign(120, 'p');
    EXPECT_EQ(AutoSavePath(time), "(none)") << "the file name is kept within 128 bytes";
    g_settings.m_strNamePrefix = "p";
    g_settings.m_strSaveFolder.assign(510, 'f');
    EXPECT_EQ(AutoSavePath(time), "(none)");
}

TEST_F(CaptureNames, UnsavedNameCarriesTheCountAndAStar)
{
    const int32_t saved = g_nCaptureCount;
    g_nCaptureCount = 3;
    CaptureName name;
    MakeUnsavedCaptureName(name);
    EXPECT_EQ(std::string(name), ToGbk("快照-3*"));
    g_nCaptureCount = saved;
}

}  // namespace

TEST_F(CaptureNames, ARecordingIsAutoSavedAsGifBesideATakenNameNeverOverIt)
{
    CTempFolder folder;
    g_settings.m_strSaveFolder = folder.Path();
    const std::string recording = folder.PathOf("recording.tmp");
    WriteFileBytes(recording, "GIF89a the recording");
    // The name of this second is taken; a second that ends meanwhile names another file.
    for (int attempt = 0; attempt < 5; ++attempt) {
        SYSTEMTIME before{};
        GetSystemTime(&before);
        CaptureName taken;
        ASSERT_TRUE(MakeAutoSavePath(before, 1, taken, g_settings, "gif"));
        WriteFileBytes(taken, "the file that was there");
        CaptureName saved;
        ASSERT_TRUE(AutoSaveRecording(recording.c_str(), g_settings, saved));
        SYSTEMTIME after{};
        GetSystemTime(&after);
        if (after.wSecond != before.wSecond)
            continue;
        EXPECT_STRNE(taken, saved);
        EXPECT_EQ(std::string(taken).substr(0, std::strlen(taken) - 4) + "-2.gif", std::string(saved));
        EXPECT_EQ("the file that was there", ReadFileBytes(taken));
        EXPECT_EQ("GIF89a the recording", ReadFileBytes(saved));
        return;
    }
    FAIL() << "every attempt crossed a second";
}

TEST_F(CaptureNames, RecordingsInTheTemporaryFolderGoAfterADay)
{
    CaptureName path;
    ASSERT_TRUE(MakeRecordingTempPath(g_settings, path));
    const std::string folder(path, std::strrchr(path, '\\'));
    const std::string stale = folder + "\\stale-test.gif", fresh = folder + "\\fresh-test.gif";
    WriteFileBytes(stale, "GIF89a");
    WriteFileBytes(fresh, "GIF89a");
    HANDLE file = CreateFileA(stale.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER twoDaysAgo{{now.dwLowDateTime, now.dwHighDateTime}};
    twoDaysAgo.QuadPart -= 2ull * 24 * 60 * 60 * 10000000;
    const FILETIME written{twoDaysAgo.LowPart, twoDaysAgo.HighPart};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    CloseHandle(file);

    RemoveStaleRecordings();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(stale.c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(fresh.c_str()));
    DeleteFileA(fresh.c_str());
}
