#include "gui/OptionsSheetFixture.h"

#include "capture/CaptureEngine.h"
#include "ui/MainFrameHandle.h"
#include "util/ModulePath.h"

namespace {
constexpr int kProbeId = 0x7001;

HWND MakeWindow()
{
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}
}  // namespace

void OptionsSheetFixture::SetUp()
{
    ASSERT_EQ(936u, GetACP()) << "tests must run with LC_ALL=zh_CN.UTF-8";
    if (!g_captureEngine.IsLoaded()) {
        ASSERT_TRUE(g_captureEngine.Load());
    }
    char szTemp[MAX_PATH] = {};
    GetTempPathA(sizeof szTemp, szTemp);
    m_tempFolder = szTemp;

    m_savedSettings = g_settings;
    m_savedSettings.m_bModified = g_settings.m_bModified;
    m_savedFrame = g_hMainFrame;
    m_frame = MakeWindow();
    m_other = MakeWindow();
    g_hMainFrame = m_frame;
    g_settings.SetDefaults();
    g_settings.m_strSaveFolder = m_tempFolder;
    g_settings.m_bModified = 0;
}

void OptionsSheetFixture::TearDown()
{
    // OK writes the settings file beside the test program; later frames must not read it.
    char settingsFile[MAX_PATH];
    if (MakeModuleFilePath("lumigrab.cfg", settingsFile))
        DeleteFileA(settingsFile);
    // The added options beside it too; the annotation tools keep their own section.
    if (MakeModuleFilePath("lumigrab.ini", settingsFile))
        WritePrivateProfileStringA("Options", nullptr, nullptr, settingsFile);
    g_settings.UnregisterHotkeys(m_frame);
    DestroyWindow(m_frame);
    DestroyWindow(m_other);
    g_hMainFrame = m_savedFrame;
    g_settings = m_savedSettings;
    g_settings.m_bModified = m_savedSettings.m_bModified;
}

bool OptionsSheetFixture::KeysAreFree(UINT modifiers, UINT key) const
{
    if (!RegisterHotKey(m_other, kProbeId, modifiers, key))
        return false;
    UnregisterHotKey(m_other, kProbeId);
    return true;
}

void OptionsSheetFixture::RunOptions(std::vector<COptionsSheetDriver::Step> steps,
                                     std::vector<COptionsSheetDriver::DialogStep> dialogSteps)
{
    m_driver.Run([] { g_settings.ShowOptions([] { return g_captureEngine.CreateSkinManager(); }); }, std::move(steps),
                 std::move(dialogSteps));
    EXPECT_FALSE(m_driver.Hung()) << "the sheet did not close";
    EXPECT_TRUE(m_driver.Finished()) << "the sheet closed before the script ended";
}
