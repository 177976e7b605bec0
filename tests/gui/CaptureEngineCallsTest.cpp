// The program's calls into the real capture engine: what goes in comes from the
// settings of that moment, what comes back is kept in them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "PixelReader.h"
#include "RealClick.h"
#include "TempFolder.h"
#include "capture/CaptureEngine.h"
#include "gui/PrintScreenResponder.h"
#include "gui/SnapcoreCaptureDriver.h"
#include "gui/SnapcoreScreenKit.h"
#include "settings/Settings.h"
#include "util/ModulePath.h"

namespace {

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

class CaptureEngineCalls : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(g_captureEngine.Load());
        m_saved = g_settings;
        g_settings.SetDefaults();
        g_settings.m_bModified = 0;
    }
    void TearDown() override
    {
        g_captureEngine.Unload();
        g_settings = m_saved;
        g_settings.m_bModified = 0;
    }

    HBITMAP CaptureModal(int mode, std::initializer_list<Step> script)
    {
        CCaptureDriver driver(script);
        HBITMAP bitmap = g_captureEngine.CaptureModal(mode);
        EXPECT_TRUE(driver.Finish());
        // The windows the overlay covered are shown again before the next grab.
        EXPECT_TRUE(PumpUntil(ScreenShowsThreadWindows));
        return bitmap;
    }

    CBitmapOwner SelectOnFrozenScreen(int mode, RECT* chosen, std::initializer_list<Step> script)
    {
        CCaptureDriver driver(script);
        CBitmapOwner frame = g_captureEngine.SelectOnFrozenScreen(mode, g_settings, chosen);
        EXPECT_TRUE(driver.Finish());
        EXPECT_TRUE(PumpUntil(ScreenShowsThreadWindows));
        return frame;
    }

    CSettings m_saved;
};

TEST_F(CaptureEngineCalls, MagnifierValuesComeBackIntoTheSettingsAndMarkThemOnlyWhenChanged)
{
    g_settings.m_nMagnification = 4;
    EXPECT_EQ(CaptureModal(2, {Input::Key(VK_ESCAPE)}), nullptr);
    EXPECT_EQ(g_settings.m_nMagnification, 4);
    EXPECT_EQ(g_settings.m_bModified, 0) << "nothing changed, nothing to write";

    EXPECT_EQ(CaptureModal(2, {Input::MoveTo(CentreOf(kPatternPlace)), Input::Wheel(3), Input::Key(VK_TAB), Input::Key(VK_ESCAPE)}), nullptr);
    EXPECT_EQ(g_settings.m_nMagnification, 7);
    EXPECT_EQ(g_settings.m_nSkin, 1);
    EXPECT_EQ(g_settings.m_bModified, 1);
}

// Both calls hand the engine the include-cursor and PrintScreen flags as the settings
// hold them at that moment.
TEST_F(CaptureEngineCalls, CaptureFlagsComeFromTheSettings)
{
    const auto captureBoth = [](int32_t cursor, int32_t printScreen) {
        g_settings.m_bIncludeCursor = cursor;
        g_settings.m_bSimulatePrintScreen = printScreen;
        std::vector<CScreenImage> images;
        for (HBITMAP bitmap : {g_captureEngine.CaptureFullScreen(), g_captureEngine.CaptureModal(0)}) {
            images.emplace_back(bitmap);
            DeleteObject(bitmap);
            EXPECT_FALSE(images.back().IsEmpty());
        }
        return images;
    };
    const CBlockCursor block;
    const CPatternWindow window(block.Handle());
    const POINT pointer = CentreOf(kPatternPlace);
    ASSERT_TRUE(ShowPointerAt(block.Handle(), pointer));
    for (int32_t cursor : {0, 1})
        for (const CScreenImage& image : captureBoth(cursor, 0))
            EXPECT_EQ(image.At(pointer.x, pointer.y), cursor ? RGB(0, 0, 0) : PatternColourAt(pointer)) << cursor;

    const RECT screen = VirtualScreen();
    const COLORREF magenta = RGB(255, 0, 255);
    const CPrintScreenResponder system(SIZE{screen.right - screen.left, screen.bottom - screen.top}, magenta);
    for (int32_t printScreen : {0, 1})
        for (const CScreenImage& image : captureBoth(0, printScreen))
            EXPECT_EQ(image.At(pointer.x, pointer.y), printScreen ? magenta : PatternColourAt(pointer)) << printScreen;
}

// Mode -1 is the configured mode; one the engine does not know, read from a damaged
// file, must become a window capture rather than reach the engine.
TEST_F(CaptureEngineCalls, ConfiguredModeOutOfRangeCapturesTheWindowUnderThePointer)
{
    const CPatternWindow window;
    for (int damaged : {4, -7}) {
        g_settings.m_nModalMode = damaged;
        HBITMAP bitmap = CaptureModal(-1, {Input::MoveTo(CentreOf(kPatternPlace)), Input::Key(VK_RETURN)});
        ASSERT_NE(bitmap, nullptr) << damaged;
        const SIZE size = BitmapSize(bitmap);
        EXPECT_EQ(size.cx, kPatternPlace.right - kPatternPlace.left) << damaged;
        EXPECT_EQ(size.cy, kPatternPlace.bottom - kPatternPlace.top) << damaged;
        DeleteObject(bitmap);
    }
    EXPECT_EQ(CCaptureEngine::ResolveMode(-1), 1);
    g_settings.m_nModalMode = 3;
    EXPECT_EQ(CCaptureEngine::ResolveMode(-1), 3);
    EXPECT_EQ(CCaptureEngine::ResolveMode(2), 2);
}

// A full-screen mode, configured or asked for, means window here: the frozen screen
// always needs a part chosen on it.
TEST_F(CaptureEngineCalls, SelectingOnTheFrozenScreenPassesTheModeAndKeepsMagnifierValues)
{
    const CPatternWindow window;
    ASSERT_TRUE(g_captureEngine.CanSelectOnFrozenScreen());
    g_settings.m_nModalMode = 0;
    RECT chosen{};
    CBitmapOwner frame = SelectOnFrozenScreen(
        -1, &chosen, {Input::MoveTo(CentreOf(kPatternPlace)), Input::Wheel(2), Input::Key(VK_RETURN)});
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(EqualRect(&chosen, &kPatternPlace));
    EXPECT_EQ(CScreenImage(frame.get()).At(kPatternPlace.left, kPatternPlace.top), kQuadrantColours[0]);
    EXPECT_EQ(g_settings.m_nMagnification, 4);
    EXPECT_EQ(g_settings.m_bModified, 1);

    const POINT from{kPatternPlace.left + 5, kPatternPlace.top + 5}, to{from.x + 55, from.y + 45};
    frame = SelectOnFrozenScreen(CCaptureEngine::kModeAnyPart, &chosen, {Input::Drag(from, to)});
    ASSERT_NE(frame, nullptr);
    const RECT dragged{from.x, from.y, to.x, to.y};
    EXPECT_TRUE(EqualRect(&chosen, &dragged)) << "a drag in any-part mode is a region, not the window";
}

// An engine from before the frozen-screen call: the names of its exports are those of
// this one with that call's renamed away.
TEST_F(CaptureEngineCalls, AnEngineWithoutTheFrozenScreenCallStillLoadsAndThatCallGivesNothing)
{
    char path[MAX_PATH];
    ASSERT_TRUE(MakeModuleFilePath("snapcore.dll", path));
    std::string library = ReadFileBytes(path);
    const std::string name("SelectOnFrozenScreen\0", 21);
    for (size_t at = library.find(name); at != std::string::npos; at = library.find(name, at))
        library[at + name.size() - 2] = 'X';
    const CTempFolder folder;
    const std::string older = folder.PathOf("oldcore.dll");
    WriteFileBytes(older, library);

    ASSERT_TRUE(g_captureEngine.Load(older.c_str()));
    EXPECT_FALSE(g_captureEngine.CanSelectOnFrozenScreen());
    RECT chosen{};
    EXPECT_EQ(g_captureEngine.SelectOnFrozenScreen(2, g_settings, &chosen), nullptr);
    HBITMAP screen = g_captureEngine.CaptureFullScreen();
    EXPECT_NE(screen, nullptr) << "the other calls work";
    DeleteObject(screen);
    g_captureEngine.Unload();
}

TEST_F(CaptureEngineCalls, WithoutTheEngineEveryCallGivesNothing)
{
    ISkinManager* skins = g_captureEngine.CreateSkinManager();
    ASSERT_NE(skins, nullptr);
    skins->Release();
    g_captureEngine.Unload();
    EXPECT_EQ(g_captureEngine.CaptureFullScreen(), nullptr);
    EXPECT_EQ(g_captureEngine.CaptureModal(1), nullptr);
    EXPECT_EQ(g_captureEngine.CreateSkinManager(), nullptr);
    RECT chosen{};
    EXPECT_FALSE(g_captureEngine.CanSelectOnFrozenScreen());
    EXPECT_EQ(g_captureEngine.SelectOnFrozenScreen(2, g_settings, &chosen), nullptr);
}

}  // namespace
