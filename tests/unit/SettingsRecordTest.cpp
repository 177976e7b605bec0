#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <vector>

#include "DistinctiveSettings.h"
#include "settings/Settings.h"

namespace {

// One change per stored field; each must make two records unequal.
const std::vector<std::function<void(CSettings&)>> kFieldChanges = {
    [](CSettings& s) { s.m_bSimulatePrintScreen ^= 1; },
    [](CSettings& s) { s.m_bIncludeCursor ^= 1; },
    [](CSettings& s) { s.m_bHideMainWindow ^= 1; },
    [](CSettings& s) { s.m_nCaptureDelay += 1; },
    [](CSettings& s) { s.m_bShowAfterCapture ^= 1; },
    [](CSettings& s) { s.m_bPlaySound ^= 1; },
    [](CSettings& s) { s.m_strNamePrefix += 'x'; },
    [](CSettings& s) { s.m_bAutoSave ^= 1; },
    [](CSettings& s) { s.m_strSaveFolder += 'x'; },
    [](CSettings& s) { s.m_nSaveType ^= 1; },
    [](CSettings& s) { s.m_bFullScreenHotkey ^= 1; },
    [](CSettings& s) { s.m_wFullScreenKey ^= 0x100; },
    [](CSettings& s) { s.m_wFullScreenMods ^= 1; },
    [](CSettings& s) { s.m_bModalHotkey ^= 1; },
    [](CSettings& s) { s.m_wModalKey ^= 1; },
    [](CSettings& s) { s.m_wModalMods ^= 0x8000; },
    [](CSettings& s) { s.m_nModalMode ^= 1; },
    [](CSettings& s) { s.m_nMagnification ^= 1; },
    [](CSettings& s) { s.m_nSkin ^= 1; },
};

}  // namespace

TEST(SettingsRecord, StartsAsZerosAndEmptyStrings)
{
    const CSettings fresh;
    CSettings zeros;
    // Nothing but zeros: every field is spelt out so that a default creeping into
    // the constructor shows up.
    EXPECT_EQ(0, fresh.m_bSimulatePrintScreen + fresh.m_bIncludeCursor + fresh.m_bHideMainWindow +
                     fresh.m_bShowAfterCapture + fresh.m_bPlaySound + fresh.m_bAutoSave + fresh.m_nSaveType +
                     fresh.m_bFullScreenHotkey + fresh.m_bModalHotkey + fresh.m_nModalMode +
                     fresh.m_nMagnification + fresh.m_nSkin + fresh.m_bModified);
    EXPECT_EQ(0u, fresh.m_nCaptureDelay + fresh.m_wFullScreenKey + fresh.m_wFullScreenMods + fresh.m_wModalKey +
                      fresh.m_wModalMods);
    EXPECT_TRUE(fresh.m_strNamePrefix.empty());
    EXPECT_TRUE(fresh.m_strSaveFolder.empty());
    EXPECT_EQ(0, g_settings.m_nMagnification);
    EXPECT_TRUE(g_settings.m_strNamePrefix.empty());
}

TEST(SettingsRecord, DefaultsKeepTheFolderAndTheModifiedFlag)
{
    ASSERT_EQ(936u, GetACP()) << "tests must run with LC_ALL=zh_CN.UTF-8";
    CSettings s = DistinctiveSettings();
    s.m_bModified = 1;
    s.SetDefaults();

    EXPECT_EQ(0, s.m_bSimulatePrintScreen);
    EXPECT_EQ(0, s.m_bIncludeCursor);
    EXPECT_EQ(1, s.m_bHideMainWindow);
    EXPECT_EQ(300u, s.m_nCaptureDelay);
    EXPECT_EQ(1, s.m_bShowAfterCapture);
    EXPECT_EQ(1, s.m_bPlaySound);
    EXPECT_EQ("\xBF\xEC\xD5\xD5-", s.m_strNamePrefix);  // "快照-" from the string table
    EXPECT_EQ(0, s.m_bAutoSave);
    EXPECT_EQ(0, s.m_nSaveType);
    EXPECT_EQ(1, s.m_bFullScreenHotkey);
    EXPECT_EQ(VK_F8, s.m_wFullScreenKey);
    EXPECT_EQ(2, s.m_wFullScreenMods);  // Ctrl
    EXPECT_EQ(1, s.m_bModalHotkey);
    EXPECT_EQ(VK_F2, s.m_wModalKey);
    EXPECT_EQ(0, s.m_wModalMods);
    EXPECT_EQ(1, s.m_nModalMode);
    EXPECT_EQ(2, s.m_nMagnification);
    EXPECT_EQ(0, s.m_nSkin);

    EXPECT_EQ(DistinctiveSettings().m_strSaveFolder, s.m_strSaveFolder);
    EXPECT_EQ(1, s.m_bModified);
}

TEST(SettingsRecord, CopyTakesEveryStoredFieldButNotTheModifiedFlag)
{
    CSettings source = DistinctiveSettings();
    source.m_bModified = 1;

    CSettings constructed(source);
    EXPECT_EQ(source, constructed);
    EXPECT_EQ(0, constructed.m_bModified);

    CSettings assigned;
    assigned.SetDefaults();
    assigned.m_bModified = 0;
    assigned = source;
    EXPECT_EQ(source, assigned);
    EXPECT_EQ(0, assigned.m_bModified);
    EXPECT_EQ(source.m_strSaveFolder, assigned.m_strSaveFolder);
    EXPECT_EQ(source.m_wModalMods, assigned.m_wModalMods);
}

TEST(SettingsRecord, EveryStoredFieldTakesPartInEquality)
{
    const CSettings base = DistinctiveSettings();
    for (size_t i = 0; i < kFieldChanges.size(); ++i) {
        CSettings changed(base);
        kFieldChanges[i](changed);
        EXPECT_NE(base, changed) << "change #" << i << " went unnoticed";
        EXPECT_FALSE(base == changed) << "change #" << i;
    }

    CSettings flagged(base);
    flagged.m_bModified = 1;
    EXPECT_EQ(base, flagged) << "the modified flag is not part of the settings";

    // Strings compare byte for byte, embedded zeros included.
    CSettings a(base), b(base);
    a.m_strNamePrefix.assign("ab\0c", 4);
    b.m_strNamePrefix.assign("ab\0d", 4);
    EXPECT_NE(a, b);
}
