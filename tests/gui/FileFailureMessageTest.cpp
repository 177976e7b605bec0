#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <fstream>
#include <string>

#include "Gbk.h"
#include "document/ImageFiles.h"
#include "gui/DialogAnswerer.h"
#include "gui/FrameFixture.h"
#include "res/resource.h"
#include "ui/UpdateUI.h"

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

std::string TempPath(const char* name)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

using FileFailureMessageTest = FrameFixture;

}  // namespace

TEST_F(FileFailureMessageTest, AFailedSaveNamesTheFileAndTheReasonAndTheDocumentStaysUnsaved)
{
    ASSERT_TRUE(m_frame->CreateImageDocument(MakePatternBitmap(64, 48), ToGbk("快照-3*").c_str(), false));
    HWND document = m_frame->ActiveDocument();
    const std::string target = TempPath("read-only.jpg");
    WriteBytes(target, "the earlier picture");
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    SeenBox seen;
    {
        CDialogAnswerer answerer({ChooseFile(target), CDialogAnswerer::Press(IDYES), Record(seen)});
        SendMessageA(document, WM_COMMAND, ID_FILE_SAVE_AS, 0);
        EXPECT_EQ(3u, answerer.StepsTaken()) << "Save As, the overwrite question, the failure";
    }
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ("the earlier picture", ReadBytes(target));
    DeleteFileA(target.c_str());

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
    for (const auto& c : cases) {
        const std::string path = TempPath(c.name);
        WriteBytes(path, c.bytes);
        SeenBox seen;
        char chosen[MAX_PATH + 1] = {};
        {
            CDialogAnswerer answerer({ChooseFile(path), Record(seen)});
            EXPECT_EQ(nullptr, OpenImageFile(chosen)) << c.name;
            EXPECT_EQ(2u, answerer.StepsTaken()) << c.name;
        }
        DeleteFileA(path.c_str());
        EXPECT_EQ(ToGbk("加载文件失败"), seen.caption) << c.name;
        EXPECT_EQ(static_cast<HWND>(*m_frame), seen.owner) << c.name;
        EXPECT_EQ(ToGbk("无法加载文件“") + path + ToGbk("”。\r\n\r\n") + ToGbk(c.reason), seen.text) << c.name;
    }
}
