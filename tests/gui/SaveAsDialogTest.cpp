#include <windows.h>

#include <string>

#include "Gbk.h"
#include "KeyInput.h"
#include "DialogAnswerer.h"
#include "gui/FileDialogInput.h"
#include "gui/FrameFixture.h"
#include "res/resource.h"
#include "TempFolder.h"

// The Save As dialog typed into as a user types: the name decides the format when its
// extension names one, and a change of type renames the file and nothing else.

namespace {

class SaveAsDialogTest : public FrameFixture {
protected:
    // Save As on a new capture, whose type starts as JPEG, answered by the step.
    void SaveNewCapture(CDialogAnswerer::Step step)
    {
        ASSERT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(64, 48), ToGbk("快照-3*").c_str(), false));
        CDialogAnswerer answerer({std::move(step)});
        SendMessageA(m_frame->ActiveDocument(), WM_COMMAND, ID_FILE_SAVE_AS, 0);
        EXPECT_EQ(1u, answerer.StepsTaken());
    }

    CTempFolder m_folder;
};

}  // namespace

TEST_F(SaveAsDialogTest, ATypedExtensionOfAKnownFormatChoosesTheFormat)
{
    const std::string png = m_folder.PathOf("full1.png");
    SaveNewCapture([&](HWND dialog) {
        TypeName(png);
        PressEnterOrCancel(dialog);
    });
    EXPECT_EQ("\x89PNG", ReadFileBytes(png).substr(0, 4)) << "PNG data, although the type was JPEG";

    // Without an extension the type chosen in the dialog decides, and names the file.
    const std::string bare = m_folder.PathOf("bare");
    SaveNewCapture([&](HWND dialog) {
        TypeName(bare);
        PressKeys({VK_TAB});
        PressKeys({VK_DOWN});
        PressKeys({VK_SHIFT, VK_TAB});
        PressEnterOrCancel(dialog);
    });
    EXPECT_EQ("BM", ReadFileBytes(bare + ".bmp").substr(0, 2));
}

TEST_F(SaveAsDialogTest, ChangingTheTypeRenamesOnlyTheFileName)
{
    const std::string dotted = m_folder.PathOf(ToGbk("照片.2024").c_str());
    ASSERT_TRUE(CreateDirectoryA(dotted.c_str(), nullptr));
    const std::string typed = dotted + ToGbk("\\截图");
    std::string renamed;
    SaveNewCapture([&](HWND dialog) {
        TypeName(typed);
        PressKeys({VK_TAB});
        PressKeys({VK_DOWN});
        HandleInput(dialog);
        renamed = NameBox(dialog);
        PressKeys({VK_SHIFT, VK_TAB});
        PressEnterOrCancel(dialog);
    });
    EXPECT_EQ(typed + ".bmp", renamed);
    EXPECT_EQ("BM", ReadFileBytes(typed + ".bmp").substr(0, 2));
    DeleteFileA((typed + ".bmp").c_str());
    RemoveDirectoryA(dotted.c_str());
}
