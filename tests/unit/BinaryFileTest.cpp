#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "TempFolder.h"
#include "util/BinaryFile.h"
#include "util/Win32Error.h"

using Vorn::CWin32Error;

namespace {

// A new, empty file in a folder of its own, removed at the end of the test.
class TempFile {
public:
    TempFile() { WriteFileBytes(m_path, ""); }

    const char* Path() const { return m_path.c_str(); }
    std::string Contents() const { return ReadFileBytes(m_path); }
    void SetContents(const std::string& bytes) const { WriteFileBytes(m_path, bytes); }

private:
    CTempFolder m_folder;
    std::string m_path = m_folder.PathOf("file.bin");
};

// The way the configuration files are opened: no sharing, and writing keeps an existing file.
void OpenForReading(CBinaryFile& file, const char* path)
{
    file.Open(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void OpenForWriting(CBinaryFile& file, const char* path)
{
    file.Open(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

template <typename Operation>
testing::AssertionResult FailsWith(DWORD dwExpected, Operation operation)
{
    try {
        operation();
    } catch (const CWin32Error& error) {
        if (error.GetCode() == dwExpected)
            return testing::AssertionSuccess();
        return testing::AssertionFailure() << "error code " << error.GetCode() << ", expected " << dwExpected;
    }
    return testing::AssertionFailure() << "no CWin32Error was thrown";
}

}  // namespace

TEST(BinaryFile, WritesLittleEndianIntegersAndLengthPrefixedStrings)
{
    TempFile temp;
    {
        CBinaryFile file;
        OpenForWriting(file, temp.Path());
        file << "abc" << std::string("x\0y", 3) << 0x01020304u << -2 << std::string() << DWORD(7);
    }
    const std::string expected("\x03\0\0\0abc"
                               "\x03\0\0\0x\0y"
                               "\x04\x03\x02\x01"
                               "\xFE\xFF\xFF\xFF"
                               "\0\0\0\0"
                               "\x07\0\0\0",
                               7 + 7 + 4 + 4 + 4 + 4);
    EXPECT_EQ(expected, temp.Contents());
}

TEST(BinaryFile, ReadsWhatItWrote)
{
    const std::string chinese = "\xBF\xEC\xD5\xD5-";  // "快照-" in GBK
    TempFile temp;
    {
        CBinaryFile file;
        OpenForWriting(file, temp.Path());
        file << chinese << 0x80000000u << "" << -1 << std::string("a\0b", 3);
    }

    CBinaryFile file;
    OpenForReading(file, temp.Path());
    std::string text, empty = "previous content", withZero;
    UINT uValue = 0;
    LONG nValue = 0;
    file >> text >> uValue >> empty >> nValue >> withZero;
    EXPECT_EQ(chinese, text);
    EXPECT_EQ(0x80000000u, uValue);
    EXPECT_EQ("", empty);
    EXPECT_EQ(-1, nValue);
    EXPECT_EQ(std::string("a\0b", 3), withZero);
}

TEST(BinaryFile, AnEmptyStringReadsOnlyItsLength)
{
    TempFile temp;
    temp.SetContents(std::string("\0\0\0\0\x2A\0\0\0", 8));
    CBinaryFile file;
    OpenForReading(file, temp.Path());
    std::string text = "old";
    int nNext = 0;
    file >> text >> nNext;
    EXPECT_EQ("", text);
    EXPECT_EQ(42, nNext);
}

TEST(BinaryFile, ReadingPastTheEndFails)
{
    TempFile temp;
    temp.SetContents("\x01\x02");
    CBinaryFile file;
    OpenForReading(file, temp.Path());
    int nValue = 0;
    EXPECT_TRUE(FailsWith(ERROR_HANDLE_EOF, [&] { file >> nValue; }));

    // A length prefix cut short is never used.
    OpenForReading(file, temp.Path());
    std::string text = "kept";
    EXPECT_TRUE(FailsWith(ERROR_HANDLE_EOF, [&] { file >> text; }));
    EXPECT_EQ("kept", text);
}

TEST(BinaryFile, RefusesAStringLengthTheFileCannotHold)
{
    struct Case {
        std::string bytes;
        const char* what;
    };
    const Case damaged[] = {
        {std::string("\x04\0\0\0", 4) + "abc", "one byte short"},
        {std::string("\x00\x00\x00\x80", 4) + "abc", "length 2 GiB"},
        {std::string("\xFF\xFF\xFF\xFF", 4) + "abc", "length 0xFFFFFFFF"},
    };
    for (const Case& c : damaged) {
        TempFile temp;
        temp.SetContents(c.bytes);
        CBinaryFile file;
        OpenForReading(file, temp.Path());
        std::string text = "untouched";
        EXPECT_TRUE(FailsWith(ERROR_HANDLE_EOF, [&] { file >> text; })) << c.what;
        EXPECT_EQ("untouched", text) << c.what << ": the string was resized before the check";
    }

    // A string that ends exactly at the end of the file is whole.
    TempFile temp;
    temp.SetContents(std::string("\x03\0\0\0", 4) + "abc");
    CBinaryFile file;
    OpenForReading(file, temp.Path());
    std::string text;
    file >> text;
    EXPECT_EQ("abc", text);
}

TEST(BinaryFile, ReportsFailedSystemCallsWithTheirCode)
{
    TempFile temp;
    const std::string missing = std::string(temp.Path()) + ".missing";

    CBinaryFile file;
    EXPECT_TRUE(FailsWith(ERROR_FILE_NOT_FOUND, [&] { OpenForReading(file, missing.c_str()); }));
    file.Close();
    file.Close();
    int nValue = 0;
    EXPECT_TRUE(FailsWith(ERROR_INVALID_HANDLE, [&] { file >> nValue; }));

    OpenForReading(file, temp.Path());
    EXPECT_TRUE(FailsWith(ERROR_ACCESS_DENIED, [&] { file << 1; }));
}

TEST(BinaryFile, ReleasesTheFileWhenClosedOrDestroyed)
{
    TempFile temp;
    CBinaryFile other;
    {
        CBinaryFile file;
        OpenForWriting(file, temp.Path());
        EXPECT_TRUE(FailsWith(ERROR_SHARING_VIOLATION, [&] { OpenForReading(other, temp.Path()); }));
    }
    OpenForReading(other, temp.Path());

    // Opening another file closes the one held before.
    TempFile second;
    other.Open(second.Path(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    CBinaryFile file;
    OpenForWriting(file, temp.Path());

    file.Close();
    OpenForReading(other, temp.Path());
}

TEST(BinaryFile, WritingOverALongerFileKeepsItsTail)
{
    TempFile temp;
    temp.SetContents("0123456789");
    {
        CBinaryFile file;
        OpenForWriting(file, temp.Path());
        file << 0x64636261;
    }
    EXPECT_EQ("abcd456789", temp.Contents());
}
