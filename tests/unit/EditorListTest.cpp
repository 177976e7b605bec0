#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>

#include "editors/EditorList.h"
#include "res/resource.h"
#include "unit/FileBesideProgram.h"
#include "unit/ShellCallCounter.h"

namespace {

std::string Le32(uint32_t value)
{
    return std::string{char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
}

std::string Entry(const std::string& name, const std::string& path)
{
    return Le32(static_cast<uint32_t>(name.size())) + name + Le32(static_cast<uint32_t>(path.size())) + path;
}

// The example of one editor: 25 bytes.
const std::string kPaintFile = Le32(1) + Entry("Paint", "C:\\P.exe");

std::string NameAt(const CEditorList& list, int position)
{
    char name[CEditorList::kTextSize] = "(none)";
    list.GetAt(position, name, nullptr, nullptr);
    return name;
}

std::string Names(const CEditorList& list)
{
    std::string names;
    for (int position = 0; position < list.GetCount(); ++position)
        names += (position ? "," : "") + NameAt(list, position);
    return names;
}

class EditorListFile : public FileBesideProgram {
protected:
    EditorListFile() : FileBesideProgram("oteditor.cfg") {}
};

}  // namespace

TEST(EditorList, OperationsKeepTheUsersOrder)
{
    CEditorList list;
    EXPECT_FALSE(list.IsModified());
    EXPECT_EQ(0, list.Add("A", "C:\\a.exe", 7));
    EXPECT_EQ(1, list.Add("B", "C:\\b.exe", 8));
    EXPECT_EQ(2, list.Add("C", "C:\\c.exe", 9));
    EXPECT_TRUE(list.IsModified());

    char path[CEditorList::kTextSize] = {};
    int image = 0;
    ASSERT_TRUE(list.GetAt(1, nullptr, path, &image));
    EXPECT_STREQ("C:\\b.exe", path);
    EXPECT_EQ(8, image);
    EXPECT_FALSE(list.GetAt(3, nullptr, path, &image));
    EXPECT_FALSE(list.GetAt(-1, nullptr, nullptr, nullptr));

    EXPECT_FALSE(list.MoveUp(0));
    EXPECT_FALSE(list.MoveDown(2));
    EXPECT_FALSE(list.MoveDown(-1));
    EXPECT_EQ("A,B,C", Names(list));
    EXPECT_TRUE(list.MoveUp(2));
    EXPECT_EQ("A,C,B", Names(list));
    EXPECT_TRUE(list.MoveDown(0));
    EXPECT_EQ("C,A,B", Names(list));
    ASSERT_TRUE(list.GetAt(0, nullptr, nullptr, &image));
    EXPECT_EQ(9, image) << "the icon moves with its editor";

    EXPECT_FALSE(list.Remove(3));
    EXPECT_TRUE(list.Remove(1));
    EXPECT_EQ("C,B", Names(list));
    EXPECT_EQ(1, list.FindPath("c:\\B.EXE"));
    EXPECT_EQ(-1, list.FindPath("C:\\a.exe"));
}

TEST(EditorList, CaseIsIgnoredByCharacterNotByByte)
{
    CEditorList list;
    // GBK characters whose trail bytes are 'a' and 'A': different characters.
    list.Add("\xB0\x61", "C:\\\xB0\x61.exe", 0);
    EXPECT_EQ(-1, list.FindPath("C:\\\xB0\x41.exe"));
    EXPECT_EQ(0, list.FindPath("c:\\\xB0\x61.EXE"));
    EXPECT_EQ(-1, list.FindPath("C:\\\xB0\x61.ex"));

    EXPECT_TRUE(list.Rename(0, "\xB0\x41"));
    EXPECT_EQ("\xB0\x41", NameAt(list, 0));
}

TEST(EditorList, RenameRefusesACaseOnlyChange)
{
    CEditorList list;
    list.Add("Paint", "C:\\P.exe", 0);
    EXPECT_FALSE(list.Rename(0, "PAINT"));
    EXPECT_EQ("Paint", NameAt(list, 0));
    EXPECT_FALSE(list.Rename(1, "Other"));
    EXPECT_TRUE(list.Rename(0, "Paint2"));
    EXPECT_EQ("Paint2", NameAt(list, 0));
}

TEST_F(EditorListFile, OneEditorIsStoredInTwentyFiveBytesAndReadBack)
{
    CEditorList list;
    list.Add("Paint", "C:\\P.exe", -1);
    ASSERT_TRUE(list.Save());
    EXPECT_EQ(kPaintFile, Contents());

    CEditorList loaded;
    ASSERT_TRUE(loaded.Load());
    EXPECT_FALSE(loaded.IsModified());
    char path[CEditorList::kTextSize] = {};
    ASSERT_TRUE(loaded.GetAt(0, nullptr, path, nullptr));
    EXPECT_EQ(1, loaded.GetCount());
    EXPECT_EQ("Paint", NameAt(loaded, 0));
    EXPECT_STREQ("C:\\P.exe", path);
}

TEST_F(EditorListFile, NothingIsWrittenUnlessChangedAndAnEmptyListDeletesTheFile)
{
    CEditorList list;
    EXPECT_FALSE(list.Load()) << "no file";
    EXPECT_TRUE(list.Save());
    EXPECT_FALSE(Exists());

    SetContents(Le32(0));
    ASSERT_TRUE(list.Load());
    EXPECT_EQ(0, list.GetCount());
    EXPECT_TRUE(list.Save());
    EXPECT_EQ(Le32(0), Contents()) << "an unchanged list is not written";

    SetContents(kPaintFile);
    CEditorList emptied;
    ASSERT_TRUE(emptied.Load());
    emptied.Add("B", "C:\\b.exe", 0);
    emptied.Remove(1);
    emptied.Remove(0);
    EXPECT_TRUE(emptied.Save());
    EXPECT_FALSE(Exists());
}

TEST_F(EditorListFile, AShorterListLeavesNoStaleBytes)
{
    SetContents(Le32(2) + Entry("Paint", "C:\\P.exe") + Entry("Second editor", "D:\\tools\\second.exe"));
    CEditorList list;
    ASSERT_TRUE(list.Load());
    ASSERT_TRUE(list.Remove(1));
    ASSERT_TRUE(list.Save());
    EXPECT_EQ(kPaintFile, Contents());
}

TEST_F(EditorListFile, ADamagedFileKeepsWhatWasReadAndIsRewrittenSound)
{
    const std::string second = Entry("Second", "D:\\second.exe");
    const struct {
        const char* what;
        std::string bytes;
    } damaged[] = {
        {"cut inside entry 2", Le32(2) + Entry("Paint", "C:\\P.exe") + second.substr(0, second.size() - 3)},
        {"a length beyond the end", Le32(2) + Entry("Paint", "C:\\P.exe") + Le32(0x7FFFFFF0) + "Sec"},
    };
    for (const auto& file : damaged) {
        SCOPED_TRACE(file.what);
        SetContents(file.bytes);
        CEditorList list;
        EXPECT_FALSE(list.Load());
        EXPECT_EQ("Paint", Names(list));
        EXPECT_TRUE(list.IsModified());
        ASSERT_TRUE(list.Save());
        EXPECT_EQ(kPaintFile, Contents());
    }
}

// Every entry takes at least its two lengths, 8 bytes.
TEST_F(EditorListFile, ACountTheFileCannotHoldIsRefusedBeforeAnyEntry)
{
    for (uint32_t count : {3u, 0x7FFFFFFFu}) {
        SCOPED_TRACE(count);
        const std::string bytes = Le32(count) + Entry("Paint", "C:\\P.exe");
        SetContents(bytes);
        CEditorList list;
        EXPECT_FALSE(list.Load());
        EXPECT_EQ(0, list.GetCount());
        EXPECT_FALSE(list.IsModified());
        ASSERT_TRUE(list.Save());
        EXPECT_EQ(bytes, Contents()) << "the damaged file stays for the user to see";
    }
}

TEST_F(EditorListFile, ALongListLoadsWhatTheMenuHoldsAndAsksTheShellOnlyForWhatIsShown)
{
    std::string bytes = Le32(20000);
    for (int i = 0; i < 20000; ++i)
        bytes += Entry("", "");
    SetContents(bytes);
    CShellCallCounter shell;
    CEditorList list;
    ASSERT_TRUE(list.Load());
    EXPECT_EQ(ID_EDITOR_LAST - ID_EDITOR_FIRST + 1, list.GetCount());
    EXPECT_EQ(0, shell.Calls());

    int image = 0;
    list.GetAt(5, nullptr, nullptr, &image);
    list.GetAt(5, nullptr, nullptr, &image);
    EXPECT_EQ(1, shell.Calls()) << "an entry shown is asked for once";
    ASSERT_TRUE(list.Save());
    EXPECT_EQ(bytes, Contents());
}

// The menu and the list's buffers take a long name up to a whole character.
TEST(EditorList, ALongChineseNameIsCutBetweenCharacters)
{
    std::string name;
    for (int i = 0; i < 200; ++i)
        name += "\xC6\xA4";  // 皮
    CEditorList list;
    list.Add(name.c_str(), "C:\\P.exe", 0);
    list.BuildMenu();
    char text[1024] = {};
    ASSERT_NE(0, GetMenuStringA(list.GetMenu(), ID_EDITOR_FIRST, text, sizeof text, MF_BYCOMMAND));
    EXPECT_EQ(name.substr(0, 258), text);
    EXPECT_EQ(name.substr(0, 258), NameAt(list, 0));
}
