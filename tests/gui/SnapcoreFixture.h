#pragma once
#include <gtest/gtest.h>

#include "gui/SnapcoreScreenKit.h"

// Loads the real snapcore.dll from the test program's folder, the way the program
// does, and resolves its entry points.
class SnapcoreFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HMODULE m_hEngine = nullptr;
    CaptureFullScreenFn m_pfnCaptureFullScreen = nullptr;
    DoCaptureModalFn m_pfnDoCaptureModal = nullptr;
    CreateSkinManagerFn m_pfnCreateSkinManager = nullptr;
    SelectOnFrozenScreenFn m_pfnSelectOnFrozenScreen = nullptr;
};
