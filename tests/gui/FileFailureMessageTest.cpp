#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Gbk.h"
#include "document/ImageFileDialogs.h"
#include "DialogAnswerer.h"
#include "gui/FileDialogInput.h"
#include "gui/FrameFixture.h"
#include "res/resource.h"
#include "ui/UpdateUI.h"
#include "TempFolder.h"
#include "NativeShell.h"

// What the user is told when a save or an open fails, answered as a user would.

namespace {

struct SeenBox {
    std::string caption;
    std::string text;
    HWND owner = nullptr;
};

// Records a message box, then presses its OK button.
CDialogAnswerer::Step Record(SeenBox& seen)
{
    return [&seen](HWND box) {
        char caption[128] = {};
        GetWindowTextA(box, caption, sizeof caption);
        seen.caption = caption;
        seen.owner = GetWindow(box, GW_OWNER);
        CDialogAnswerer::Press(IDOK, &seen.text)(box);
    };
}

// Types a path into the Open or Save As dialog and presses its OK button.
CDialogAnswerer::Step ChooseFile(const std::string& path)
{
    return [path](HWND dialog) {
        SendMessageA(dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    };
}

// Types a path into the focused name box of the Open or Save As dialog and presses Enter.
CDialogAnswerer::Step TypeFile(const std::string& path)
{
    return [path](HWND dialog) {
        TypeName(path);
        PressEnterOrCancel(dialog);
    };
}

// Folders inside one another until the innermost one's path has about 250 characters,
// beside a folder the user may not write to (made so from the Linux side, the way such a
// folder comes to exist there: no permission to write, and for root, immutable).
class CAwkwardFolders {
public:
    CAwkwardFolders() : m_deep(m_base.PathOf("d")), m_locked(m_base.PathOf("locked"))
    {
        while (CreateDirectoryA(m_deep.c_str(), nullptr) && m_deep.size() < 248)
            m_deep += "\\" + std::string(std::min<size_t>(50, 249 - m_deep.size()), 'd');
        CreateDirectoryA(m_locked.c_str(), nullptr);
        RunNativeShell("chmod a-w '" + UnixPath(m_locked) + "'; chattr +i '" + UnixPath(m_locked) + "' 2>/dev/null");
    }

    ~CAwkwardFolders()
    {
        RunNativeShell("chattr -i '" + UnixPath(m_locked) + "' 2>/dev/null; chmod u+w '" + UnixPath(m_locked) + "'");
    }

    const std::string& Deep() const { return m_deep; }
    const std::string& Locked() const { return m_locked; }

private:
    CTempFolder m_base;
    std::string m_deep;
    std::string m_locked;
};

std::string SystemText(DWORD error)
{
    char text[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, sizeof text,
                   nullptr);
    std::string reason = text;
    reason.erase(reason.find_last_not_of("\r\n ") + 1);
    return reason;
}

using FileFailureMessageTest = FrameFixture;

}  // namespace

TEST_F(FileFailureMessageTest, AFailedSaveNamesTheFileAndTheReasonAndTheDocumentStaysUnsaved)
{
    ASSERT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(64, 48), ToGbk("快照-3*").c_str(), false));
    HWND document = m_frame->ActiveDocument();
    CTempFolder folder;
    const std::string target = folder.PathOf("read-only.jpg");
    WriteFileBytes(target, "the earlier picture");
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    SeenBox seen;
    {
        CDialogAnswerer answerer({ChooseFile(target), CDialogAnswerer::Press(IDYES), Record(seen)});
        SendMessageA(document, WM_COMMAND, ID_FILE_SAVE_AS, 0);
        EXPECT_EQ(3u, answerer.StepsTaken()) << "Save As, the overwrite question, the failure";
    }
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ("the earlier picture", ReadFileBytes(target));

    EXPECT_EQ("Lumigrab", seen.caption);
    EXPECT_EQ(static_cast<HWND>(*m_frame), seen.owner);
    const std::string named = ToGbk("无法保存文件“") + target + ToGbk("”。\r\n\r\n");
    EXPECT_EQ(named, seen.text.substr(0, named.size()));
    EXPECT_GT(seen.text.size(), named.size()) << "the system's reason follows: " << seen.text;

    char title[MAX_PATH] = {};
    GetWindowTextA(document, title, MAX_PATH);
    EXPECT_EQ(ToGbk("快照-3*"), title);
    Pump();
    EXPECT_TRUE(g_updateUI.IsEnabled(ID_FILE_SAVE)) << "still modified";
}

TEST_F(FileFailureMessageTest, AFileTheReadersRefuseIsNamedWithTheReason)
{
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"renamed.jpg", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), "无法识别的图像数据。"},
        {"cut.bmp", "BM", "无法识别的图像数据。"},
        // A 40-byte header claiming 30000 x 20000 pixels of 24 bits.
        {"huge.bmp",
         std::string("BM\x36\0\0\0\0\0\0\0\x36\0\0\0(\0\0\0\x30\x75\0\0\x20\x4E\0\0\1\0\x18\0", 30) + std::string(24, '\0'),
         "图像太大，无法加载。"},
    };
    CTempFolder folder;
    for (const auto& c : cases) {
        const std::string path = folder.PathOf(c.name);
        WriteFileBytes(path, c.bytes);
        SeenBox seen;
        char chosen[MAX_PATH + 1] = {};
        {
            CDialogAnswerer answerer({ChooseFile(path), Record(seen)});
            EXPECT_EQ(nullptr, OpenImageFile(chosen)) << c.name;
            EXPECT_EQ(2u, answerer.StepsTaken()) << c.name;
        }
        EXPECT_EQ(ToGbk("加载文件失败"), seen.caption) << c.name;
        EXPECT_EQ(static_cast<HWND>(*m_frame), seen.owner) << c.name;
        EXPECT_EQ(ToGbk("无法加载文件“") + path + ToGbk("”。\r\n\r\n") + ToGbk(c.reason), seen.text) << c.name;
    }
}

TEST_F(FileFailureMessageTest, ASaveIntoAnAwkwardFolderSaysWhyWithTheFilesName)
{
    CAwkwardFolders folders;
    ASSERT_EQ(250u, folders.Deep().size());
    const std::string tooLong = ToGbk("路径太长，本程序无法使用。请选择较短的文件夹或文件名。");
    const std::string unnamed = folders.Deep() + "\\" + std::string(8, 'n');
    const struct {
        std::string path;
        std::string reason;
        std::string typed;
    } cases[] = {
        // The file's path would do, but no temporary name fits beside it.
        {folders.Deep() + "\\a.png", tooLong, ""},
        {folders.Deep() + "\\" + std::string(20, 'n') + ".png", tooLong, ""},
        // 259 characters, and the extension the dialog adds makes 263.
        {unnamed + ".jpg", tooLong, unnamed},
        {folders.Locked() + "\\a.png", SystemText(ERROR_ACCESS_DENIED), ""},
    };
    ASSERT_EQ(275u, cases[1].path.size());
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(cases[3].path.c_str()));
    for (const auto& c : cases) {
        ASSERT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(64, 48), ToGbk("快照-3*").c_str(), false));
        SeenBox seen;
        {
            CDialogAnswerer answerer({TypeFile(c.typed.empty() ? c.path : c.typed), Record(seen)});
            SendMessageA(m_frame->ActiveDocument(), WM_COMMAND, ID_FILE_SAVE_AS, 0);
            EXPECT_EQ(2u, answerer.StepsTaken()) << c.path;
        }
        EXPECT_EQ(ToGbk("无法保存文件“") + c.path + ToGbk("”。\r\n\r\n") + c.reason, seen.text);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(c.path.c_str()));
    }
}

TEST_F(FileFailureMessageTest, AnOpenOfAPathTooLongIsRefusedWithItsName)
{
    CTempFolder folder;
    std::string path = folder.PathOf("");
    path += std::string(275 - path.size() - 4, 'n') + ".png";
    SeenBox seen;
    char chosen[MAX_PATH + 1] = {};
    {
        CDialogAnswerer answerer({TypeFile(path), Record(seen)});
        EXPECT_EQ(nullptr, OpenImageFile(chosen));
        EXPECT_EQ(2u, answerer.StepsTaken());
    }
    EXPECT_EQ(ToGbk("加载文件失败"), seen.caption);
    EXPECT_EQ(ToGbk("无法加载文件“") + path + ToGbk("”。\r\n\r\n") +
                  ToGbk("路径太长，本程序无法使用。请选择较短的文件夹或文件名。"),
              seen.text);
}
