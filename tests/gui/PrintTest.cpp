#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "DialogAnswerer.h"
#include "Gbk.h"
#include "KeyInput.h"
#include "TempFolder.h"
#include "gui/FrameFixture.h"
#include "gui/PostScriptFilePrinter.h"

// Ctrl+P typed by the user, the print dialog answered with 确定, and the page as
// Wine's PostScript driver writes it into a file.
namespace {
class PrintTest : public FrameFixture {
protected:
    // Prints an image of the size given and returns the PostScript of the job.
    std::string PrintedPage(int width, int height, const char* path)
    {
        CTempFolder folder;
        const std::string output = folder.PathOf("page.ps");
        CPostScriptFilePrinter printer(output);
        EXPECT_TRUE(printer.Installed());
        if (!printer.Installed())
            return {};
        EXPECT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(width, height), path, true));
        SetForegroundWindow(*m_frame);
        std::string postScript;
        CDialogAnswerer answerer({CDialogAnswerer::Press(IDOK)});
        PressKeys({VK_CONTROL, 'P'});
        EXPECT_TRUE(RunLoopUntil([&] {
            postScript = ReadFileBytes(output);
            return postScript.find("%%EOF") != std::string::npos;
        })) << "no finished job in the file";
        EXPECT_EQ(1u, answerer.StepsTaken()) << "only the print dialog";
        return postScript;
    }
};

TEST_F(PrintTest, AWideImagePrintsOnALandscapePageAndATallOneOnAPortraitPage)
{
    const std::string wide = PrintedPage(400, 200, "C:\\wide.bmp");
    EXPECT_NE(std::string::npos, wide.find("%%Title: wide.bmp")) << wide.substr(0, 400);
    EXPECT_NE(std::string::npos, wide.find("%%Orientation: Landscape")) << wide.substr(0, 400);
    // 400 x 200 screen pixels at 96 dpi are 1250 x 625 pixels of the 300-dpi printer,
    // the size the driver scales its 400 x 200 samples to.
    EXPECT_NE(std::string::npos, wide.find("1250 625 scale\n<<\n /ImageType 1\n /Width 400\n /Height 200\n"));
    const std::string tall = PrintedPage(200, 400, "C:\\tall.bmp");
    EXPECT_NE(std::string::npos, tall.find("%%Orientation: Portrait")) << tall.substr(0, 400);
    EXPECT_NE(std::string::npos, tall.find("625 1250 scale\n<<\n /ImageType 1\n /Width 200\n /Height 400\n"));
}

TEST_F(PrintTest, WithoutAPrinterTheMessageSaysSo)
{
    CPostScriptFilePrinter::RemoveLeftOver();
    if (InstalledPrinterCount() > 0)
        GTEST_SKIP() << "this system has a printer";
    ASSERT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(40, 30), "C:\\a.bmp", true));
    SetForegroundWindow(*m_frame);
    std::string text;
    CDialogAnswerer answerer({CDialogAnswerer::Press(IDOK, &text)});
    PressKeys({VK_CONTROL, 'P'});
    ASSERT_TRUE(RunLoopUntil([&] { return answerer.StepsTaken() == 1; }));
    Pump();
    EXPECT_EQ(ToGbk("没有安装打印机。请先在系统中添加一台打印机。"), text);
}

// The spooler cannot write the job where the printer's port leads: a folder is there.
TEST_F(PrintTest, AFailedJobSaysWhy)
{
    CTempFolder folder;
    CPostScriptFilePrinter printer(folder.Path());
    ASSERT_TRUE(printer.Installed());
    ASSERT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(40, 30), "C:\\a.bmp", true));
    SetForegroundWindow(*m_frame);
    std::string text;
    CDialogAnswerer answerer({CDialogAnswerer::Press(IDOK), CDialogAnswerer::Press(IDOK, &text)});
    PressKeys({VK_CONTROL, 'P'});
    ASSERT_TRUE(RunLoopUntil([&] { return answerer.StepsTaken() == 2; }));
    Pump();
    EXPECT_EQ(ToGbk("无法打印图像。\n\n"), text.substr(0, 16)) << text;
    EXPECT_GT(text.size(), 16u) << "with a reason";
}
}
