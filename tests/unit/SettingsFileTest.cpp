#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "DistinctiveSettings.h"
#include "settings/Settings.h"
#include "unit/FileBesideProgram.h"
#include "util/ModulePath.h"

namespace {

const std::string kReadFailed = "\xCE\xDE\xB7\xA8\xB6\xC1\xC8\xA1\xC5\xE4\xD6\xC3\xD0\xC5\xCF\xA2\xA3\xA1";   // 无法读取配置信息！
const std::string kWriteFailed = "\xCE\xDE\xB7\xA8\xD0\xB4\xC8\xEB\xC5\xE4\xD6\xC3\xD0\xC5\xCF\xA2\xA3\xA1";  // 无法写入配置信息！
const std::string kPrefix3 = "\xB2\xE2\xCA\xD4\xCD\xBC";                                                     // 测试图

// What the message boxes opened during an action showed.
struct AnsweredBoxes {
    std::vector<std::string> texts;
    bool bTitledAndUnowned = true;  // every one captioned "Lumigrab", with no owner window
};

struct AnswerContext {
    DWORD dwThread;
    AnsweredBoxes* pSeen;
};

BOOL CALLBACK AnswerBox(HWND hWnd, LPARAM lParam)
{
    AnsweredBoxes& seen = *reinterpret_cast<AnsweredBoxes*>(lParam);
    char szText[256] = {};
    GetClassNameA(hWnd, szText, sizeof szText);
    // A box stays on the screen until it has handled the posted click.
    if (std::string(szText) != "#32770" || !IsWindowVisible(hWnd) || GetPropA(hWnd, "answered"))
        return TRUE;
    SetPropA(hWnd, "answered", reinterpret_cast<HANDLE>(1));
    GetWindowTextA(hWnd, szText, sizeof szText);
    seen.bTitledAndUnowned = seen.bTitledAndUnowned && std::string(szText) == "Lumigrab" &&
                             GetWindow(hWnd, GW_OWNER) == nullptr;
    GetDlgItemTextA(hWnd, 0xFFFF, szText, sizeof szText);
    seen.texts.push_back(szText);
    PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return TRUE;
}

// Runs action on this thread while a second thread answers every message box that
// the action opens. The action cannot hang: each box is answered within moments.
AnsweredBoxes AnswerBoxesDuring(const std::function<void()>& action)
{
    AnsweredBoxes seen;
    const DWORD dwThread = GetCurrentThreadId();
    std::atomic<bool> bStop{false};
    std::thread answerer([&] {
        while (!bStop) {
            EnumThreadWindows(dwThread, AnswerBox, reinterpret_cast<LPARAM>(&seen));
            Sleep(10);
        }
    });
    action();
    bStop = true;
    answerer.join();
    return seen;
}

std::string Le32(uint32_t value)
{
    return std::string{char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
}

std::string Le16(uint16_t value)
{
    return std::string{char(value), char(value >> 8)};
}

std::string Text(const std::string& bytes)
{
    return Le32(static_cast<uint32_t>(bytes.size())) + bytes;
}

// The file's layout, built independently of the code under test.
std::string FileBytes(const CSettings& s)
{
    return Le32(s.m_bSimulatePrintScreen) + Le32(s.m_bIncludeCursor) + Le32(s.m_bHideMainWindow) +
           Le32(s.m_nCaptureDelay) + Le32(s.m_bShowAfterCapture) + Le32(s.m_bPlaySound) +
           Text(s.m_strNamePrefix) + Le32(s.m_bAutoSave) + Text(s.m_strSaveFolder) + Le32(s.m_nSaveType) +
           Le32(s.m_bFullScreenHotkey) + Le16(s.m_wFullScreenKey) + Le16(s.m_wFullScreenMods) +
           Le32(s.m_bModalHotkey) + Le16(s.m_wModalKey) + Le16(s.m_wModalMods) + Le32(s.m_nModalMode) +
           Le32(s.m_nMagnification) + Le32(s.m_nSkin);
}

CSettings Defaults()
{
    CSettings s;
    s.SetDefaults();
    return s;
}

class SettingsFile : public FileBesideProgram {
protected:
    SettingsFile() : FileBesideProgram("lumigrab.cfg") {}

    // The added options' file beside it goes too: every test starts without one.
    void SetUp() override
    {
        FileBesideProgram::SetUp();
        ASSERT_TRUE(MakeModuleFilePath("lumigrab.ini", m_szIniPath));
        DeleteFileA(m_szIniPath);
    }
    void TearDown() override
    {
        FileBesideProgram::TearDown();
        DeleteFileA(m_szIniPath);
    }

    char m_szIniPath[MAX_PATH] = {};

    // The texts of the message boxes that loading or saving showed.
    static std::vector<std::string> Load(CSettings& s) { return Checked(AnswerBoxesDuring([&] { s.Load(); })); }
    static std::vector<std::string> Save(const CSettings& s) { return Checked(AnswerBoxesDuring([&] { s.Save(); })); }

    static std::vector<std::string> Checked(const AnsweredBoxes& seen)
    {
        EXPECT_TRUE(seen.bTitledAndUnowned);
        return seen.texts;
    }

    // Loads bytes that must be refused: one message 300, then the defaults with
    // the folder the record had (or the one that was read in full).
    void ExpectRefused(const std::string& bytes, const std::string& folderAfter, const std::string& what)
    {
        SCOPED_TRACE(what);
        SetContents(bytes);
        CSettings s = DistinctiveSettings();
        s.m_strSaveFolder = "before";
        std::vector<std::string> boxes = Load(s);
        EXPECT_EQ(std::vector<std::string>{kReadFailed}, boxes);
        CSettings expected = Defaults();
        expected.m_strSaveFolder = folderAfter;
        EXPECT_EQ(expected, s);
    }
};

}  // namespace

TEST_F(SettingsFile, NoFileIsSilentAndNothingIsWrittenUnlessModified)
{
    CSettings s = DistinctiveSettings();
    s.m_strSaveFolder = "C:\\kept";
    EXPECT_TRUE(Load(s).empty());
    CSettings expected = Defaults();
    expected.m_strSaveFolder = "C:\\kept";
    EXPECT_EQ(expected, s);

    EXPECT_TRUE(Save(s).empty());
    EXPECT_FALSE(Exists()) << "an unchanged record is not written";

    s.m_bModified = 1;
    EXPECT_TRUE(Save(s).empty());
    EXPECT_TRUE(Exists());
    EXPECT_EQ(1, s.m_bModified) << "saving does not clear the flag";
}

TEST_F(SettingsFile, WritesTheExactLayout)
{
    CSettings s = DistinctiveSettings();
    s.m_bModified = 1;
    ASSERT_TRUE(Save(s).empty());
    const std::string bytes = Contents();
    EXPECT_EQ(FileBytes(s), bytes);
    // A prefix of three double-byte characters is stored as 6 bytes.
    ASSERT_EQ(68u + 6 + s.m_strSaveFolder.size(), bytes.size());
    EXPECT_EQ(Le32(6) + kPrefix3, bytes.substr(24, 10));

    CSettings empty = Defaults();
    empty.m_strNamePrefix.clear();
    empty.m_bModified = 1;
    DeleteFileA(m_szPath);
    ASSERT_TRUE(Save(empty).empty());
    const std::string emptyBytes = Contents();
    ASSERT_EQ(68u, emptyBytes.size());
    EXPECT_EQ(FileBytes(empty), emptyBytes);
    EXPECT_EQ(Le32(0), emptyBytes.substr(24, 4));
    EXPECT_EQ(Le32(0), emptyBytes.substr(32, 4));
}

TEST_F(SettingsFile, EveryFieldSurvivesARoundTrip)
{
    CSettings written = DistinctiveSettings();
    written.m_bModified = 1;
    ASSERT_TRUE(Save(written).empty());

    CSettings read;
    EXPECT_TRUE(Load(read).empty());
    EXPECT_EQ(written, read);
    EXPECT_EQ(0, read.m_bModified);
    EXPECT_EQ(written.m_wFullScreenMods, read.m_wFullScreenMods);
    EXPECT_EQ(written.m_strSaveFolder, read.m_strSaveFolder);
}

TEST_F(SettingsFile, BytesAfterTheContentAreNotReadAndASaveReplacesTheWholeFile)
{
    const std::string tail(100, '\x7F');
    CSettings stored = DistinctiveSettings();
    SetContents(FileBytes(stored) + tail);

    CSettings read;
    EXPECT_TRUE(Load(read).empty());
    EXPECT_EQ(stored, read);

    CSettings shorter = Defaults();
    shorter.m_bModified = 1;
    ASSERT_TRUE(Save(shorter).empty());
    EXPECT_EQ(FileBytes(shorter), Contents());
}

TEST_F(SettingsFile, A67ByteFileIsRefusedAndTheFolderStaysEmpty)
{
    CSettings emptyStrings = DistinctiveSettings();
    emptyStrings.m_strNamePrefix.clear();
    emptyStrings.m_strSaveFolder.clear();
    const std::string bytes = FileBytes(emptyStrings);
    ASSERT_EQ(68u, bytes.size());
    ExpectRefused(bytes.substr(0, 67), "", "67 bytes");
}

TEST_F(SettingsFile, EveryTruncationIsRefusedAndKeepsOnlyAFolderReadInFull)
{
    const CSettings stored = DistinctiveSettings();
    const std::string bytes = FileBytes(stored);
    const size_t folderEnd = 36 + stored.m_strNamePrefix.size() + stored.m_strSaveFolder.size();
    for (size_t length = 0; length < bytes.size(); ++length) {
        const std::string folder = length >= folderEnd ? stored.m_strSaveFolder : "before";
        ExpectRefused(bytes.substr(0, length), folder, "cut to " + std::to_string(length) + " bytes");
    }
}

TEST_F(SettingsFile, StringLengthsTheFileCannotHoldAreRefused)
{
    const CSettings stored = DistinctiveSettings();
    const std::string bytes = FileBytes(stored);
    const size_t prefixAt = 24;
    const size_t folderAt = 32 + stored.m_strNamePrefix.size();
    for (uint32_t length : {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 0x10000000u, uint32_t(bytes.size())}) {
        std::string damaged = bytes;
        damaged.replace(prefixAt, 4, Le32(length));
        ExpectRefused(damaged, "before", "prefix length " + std::to_string(length));

        damaged = bytes;
        damaged.replace(folderAt, 4, Le32(length));
        ExpectRefused(damaged, "before", "folder length " + std::to_string(length));
    }
}

TEST_F(SettingsFile, ALockedFileCanBeNeitherReadNorWritten)
{
    const CSettings stored = DistinctiveSettings();
    SetContents(FileBytes(stored));
    HANDLE hLock = CreateFileA(m_szPath, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hLock);

    CSettings s = DistinctiveSettings();
    s.m_strSaveFolder = "before";
    EXPECT_EQ(std::vector<std::string>{kReadFailed}, Load(s));
    CSettings expected = Defaults();
    expected.m_strSaveFolder = "before";
    EXPECT_EQ(expected, s);

    s.m_bModified = 1;
    EXPECT_EQ(std::vector<std::string>{kWriteFailed}, Save(s));
    CloseHandle(hLock);
    EXPECT_EQ(FileBytes(stored), Contents()) << "nothing was written over the locked file";
}

TEST_F(SettingsFile, AddedOptionsGoToTheIniBesideAndLeaveTheCfgByteForByte)
{
    CSettings s = DistinctiveSettings();
    s.m_nCountdownSeconds = 10;
    s.m_bCopyAfterCapture = 1;
    s.m_bLastRegionHotkey = 1;
    s.m_wLastRegionKey = VK_F9;
    s.m_wLastRegionMods = 2;
    s.m_bHasLastRegion = 1;
    s.m_rcLastRegion = {10, 20, 30, 40};
    s.m_bModified = 1;
    ASSERT_TRUE(Save(s).empty());
    EXPECT_EQ(FileBytes(DistinctiveSettings()), Contents());

    CSettings read;
    EXPECT_TRUE(Load(read).empty());
    EXPECT_EQ(s, read);

    // A refused cfg gives the specified defaults; the ini's values are still read.
    SetContents("short");
    CSettings afterDamage;
    EXPECT_EQ(std::vector<std::string>{kReadFailed}, Load(afterDamage));
    EXPECT_EQ(10, afterDamage.m_nCountdownSeconds);
    EXPECT_EQ(VK_F9, afterDamage.m_wLastRegionKey);
    EXPECT_EQ(Defaults().m_wFullScreenKey, afterDamage.m_wFullScreenKey);

    // Defaults keep the last region: it is where the user captured, not a choice.
    afterDamage.SetDefaults();
    EXPECT_EQ(0, afterDamage.m_nCountdownSeconds);
    EXPECT_EQ(0, afterDamage.m_bLastRegionHotkey);
    EXPECT_EQ(1, afterDamage.m_bHasLastRegion);
    EXPECT_EQ(30, afterDamage.m_rcLastRegion.right);
}

TEST_F(SettingsFile, AnIniThatCannotBeWrittenIsReportedWithTheReasonAndTheCfgIsStillWritten)
{
    WriteFileBytes(m_szIniPath, "[Options]\r\nCountdown=3\r\n");
    HANDLE hLock = CreateFileA(m_szIniPath, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hLock);
    CSettings s = DistinctiveSettings();
    s.m_nCountdownSeconds = 5;
    s.m_bModified = 1;
    const std::vector<std::string> boxes = Save(s);
    CloseHandle(hLock);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(kWriteFailed + "\n\n", boxes[0].substr(0, kWriteFailed.size() + 2));
    EXPECT_GT(boxes[0].size(), kWriteFailed.size() + 2) << "the reason follows";
    EXPECT_EQ(FileBytes(s), Contents());
    EXPECT_EQ("[Options]\r\nCountdown=3\r\n", ReadFileBytes(m_szIniPath));
}
