#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "gui/OptionsSheetDriver.h"
#include "settings/Settings.h"

// A stand-in main frame that holds the global hotkeys, and g_settings at its defaults
// with the temporary folder as save folder; both are put back afterwards. The real
// capture engine is loaded for the skin list.
class OptionsSheetFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Registers the hotkeys of g_settings, as the frame does at start.
    void RegisterHotkeys() { g_settings.RegisterHotkeys(m_frame); }
    // Whether another window could take these keys now (nobody holds them).
    bool KeysAreFree(UINT modifiers, UINT key) const;

    // Runs the Options command with the script; the sheet must close by itself.
    void RunOptions(std::vector<COptionsSheetDriver::Step> steps,
                    std::vector<COptionsSheetDriver::DialogStep> dialogSteps = {});

    std::string m_tempFolder;
    HWND m_frame = nullptr;
    HWND m_other = nullptr;
    COptionsSheetDriver m_driver;

private:
    CSettings m_savedSettings;
    HWND m_savedFrame = nullptr;
};
