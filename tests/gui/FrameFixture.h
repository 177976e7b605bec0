#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "PixelReader.h"
#include "app/AppFrame.h"
#include "ui/MessageLoop.h"

// A real main frame on the test display, 900 x 600, with the thread's message loop
// registered the way the program does it.
class FrameFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the real loop until its queue has been empty once, so that the idle
    // handler has pushed the command states.
    void Pump();
    // Runs the real loop, accelerators and all, until done() holds; false when the
    // time runs out first. Typed keys reach the frame this way.
    bool RunLoopUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);

    // The rectangle of a child window in the frame's client coordinates.
    RECT ChildRect(HWND child) const;

    int TabCount() const;
    std::string TabText(int index) const;

    CMessageLoop m_loop;
    std::unique_ptr<CAppFrame> m_frame;
};

// A 32-bit bitmap whose pixel (x, y) is PatternColor(x, y).
CBitmapOwner MakePatternBitmap(int width, int height);
COLORREF PatternColor(int x, int y);
