#include <gtest/gtest.h>

#include "e2e/ProgramUnderTest.h"
#include "res/resource.h"

namespace {
std::string LoadText(UINT id)
{
    char text[256] = "";
    LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return text;
}
}

TEST(Startup, ClosingTheMainWindowEndsTheProgramWithCodeOne)
{
    CProgramUnderTest program;
    ASSERT_TRUE(program.Start());

    HWND frame = program.MainFrame();
    ASSERT_NE(frame, nullptr) << "the main window did not appear";
    EXPECT_EQ(WindowText(frame), "Lumigrab");
    EXPECT_EQ(program.FindWindow("#32770"), nullptr) << "no message with the engine in place";

    PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    ASSERT_TRUE(program.WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 1u);
}

TEST(Startup, ExitCommandEndsTheProgramWithCodeOne)
{
    CProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    HWND frame = program.MainFrame();
    ASSERT_NE(frame, nullptr);

    CProgramUnderTest::PostCommand(frame, ID_APP_EXIT);
    DWORD exitCode = 0;
    ASSERT_TRUE(program.WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 1u);
}

TEST(Startup, MissingEngineIsReportedBeforeTheMainWindowOpens)
{
    CProgramUnderTest program(CProgramUnderTest::Engine::Absent);
    ASSERT_TRUE(program.Start());

    // The message box carries the application title as its caption.
    HWND box = program.WaitForWindow("#32770", 10000, LoadText(IDR_MAINFRAME).c_str());
    ASSERT_NE(box, nullptr) << "no message about the missing engine";
    EXPECT_EQ(program.FindWindow(CProgramUnderTest::kFrameClass), nullptr);
    EXPECT_EQ(MessageBoxText(box), LoadText(IDS_ENGINE_MISSING));
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);

    ASSERT_TRUE(CProgramUnderTest::PressButton(box, IDOK));
    HWND frame = program.MainFrame();
    ASSERT_NE(frame, nullptr) << "the program did not go on after the message";

    PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    ASSERT_TRUE(program.WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 1u);
}
