// The added options in the [Options] section of lumigrab.ini: what is written comes
// back, and a value the file cannot mean is the default, alone.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "DistinctiveSettings.h"
#include "TempFolder.h"
#include "settings/MoreOptions.h"

namespace {

bool Same(const MoreOptions& a, const MoreOptions& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class MoreOptionsFile : public testing::Test {
protected:
    MoreOptionsFile() : m_path(m_folder.PathOf("lumigrab.ini")) {}

    MoreOptions Loaded() const
    {
        MoreOptions options = DistinctiveMoreOptions();
        LoadMoreOptions(options, m_path.c_str());
        return options;
    }

    CTempFolder m_folder;
    std::string m_path;
};

}  // namespace

TEST_F(MoreOptionsFile, EveryValueSurvivesARoundTripBesideOtherSections)
{
    WriteFileBytes(m_path, "[Annotate]\r\nColour=255\r\n");
    ASSERT_TRUE(SaveMoreOptions(DistinctiveMoreOptions(), m_path.c_str()));
    EXPECT_TRUE(Same(DistinctiveMoreOptions(), Loaded()));
    char colour[8] = {};
    GetPrivateProfileStringA("Annotate", "Colour", "", colour, sizeof colour, m_path.c_str());
    EXPECT_STREQ("255", colour);

    // No region is written as none, not as the rectangle the record happens to hold.
    MoreOptions noRegion = DistinctiveMoreOptions();
    noRegion.m_bHasLastRegion = 0;
    ASSERT_TRUE(SaveMoreOptions(noRegion, m_path.c_str()));
    const MoreOptions read = Loaded();
    EXPECT_EQ(0, read.m_bHasLastRegion);
    EXPECT_EQ(5, read.m_nCountdownSeconds);
}

TEST_F(MoreOptionsFile, AMissingFileGivesEveryDefault)
{
    EXPECT_TRUE(Same(MoreOptions(), Loaded()));
}

TEST_F(MoreOptionsFile, EachDamagedValueIsItsDefaultAndTheOthersStay)
{
    struct Damage {
        const char* key;
        std::string text;
    };
    const Damage damages[] = {
        {"Countdown", "4"},         {"Countdown", "-3"},         {"Countdown", "3s"},
        {"Countdown", ""},          {"Countdown", "99999999999"}, {"CopyAfterCapture", "2"},
        {"NoDocumentAfterCapture", "-1"}, {"PinAfterCapture", "yes"}, {"LastRegionHotkey", "1 1"},
        {"LastRegionKey", "0"},     {"LastRegionKey", "256"},    {"LastRegionModifiers", "16"},
        {"LastRegion", "1,2,3"},    {"LastRegion", "5,5,5,10"},  {"LastRegion", "10,10,0,0"},
        {"LastRegion", "1,2,3,4,5"}, {"LastRegion", "a,b,c,d"}, {"ToolbarForAllCaptures", "on"},
        {"MarkupKey", "-1"},        {"MarkupModifiers", "x"},   {"LongshotMaxRows", "99"},
        {"LongshotMaxRows", "30001"}, {"RecordFramesPerSecond", "12"}, {"RecordFramesPerSecond", "0"},
        // Too long for any good value: cut, they would read as 5 and as 0,0,10,5.
        {"Countdown", std::string(30, '0') + "53"}, {"LastRegion", "0,0,10," + std::string(56, '0') + "53"},
        {"LastRegion", "0,0,4294967297,5"},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(std::string(damage.key) + "=" + damage.text);
        ASSERT_TRUE(SaveMoreOptions(DistinctiveMoreOptions(), m_path.c_str()));
        ASSERT_TRUE(WritePrivateProfileStringA("Options", damage.key, damage.text.c_str(), m_path.c_str()));
        const MoreOptions read = Loaded();
        MoreOptions expected = DistinctiveMoreOptions();
        const std::string key = damage.key;
        if (key == "Countdown")
            expected.m_nCountdownSeconds = 0;
        else if (key == "CopyAfterCapture")
            expected.m_bCopyAfterCapture = 0;
        else if (key == "NoDocumentAfterCapture")
            expected.m_bNoDocumentAfterCapture = 0;
        else if (key == "PinAfterCapture")
            expected.m_bPinAfterCapture = 0;
        else if (key == "LastRegion")
            expected.m_bHasLastRegion = 0;
        else if (key == "ToolbarForAllCaptures")
            expected.m_bDeskForAllCaptures = 0;
        else if (key == "LongshotMaxRows")
            expected.m_nLongshotMaxRows = 30000;
        else if (key == "RecordFramesPerSecond")
            expected.m_nRecordFramesPerSecond = 10;
        else if (key.compare(0, 6, "Markup") == 0) {
            // Capture-and-mark-up's hotkey falls back to its own keys, Ctrl+F7, and off.
            expected.m_bMarkupHotkey = 0;
            expected.m_wMarkupKey = VK_F7;
            expected.m_wMarkupMods = 2;
        } else {
            // A hotkey without its key or modifiers is off, and has no keys at all.
            expected.m_bLastRegionHotkey = 0;
            if (key != "LastRegionHotkey") {
                expected.m_wLastRegionKey = 0;
                expected.m_wLastRegionMods = 0;
            }
        }
        EXPECT_EQ(expected.m_nCountdownSeconds, read.m_nCountdownSeconds);
        EXPECT_EQ(expected.m_bCopyAfterCapture, read.m_bCopyAfterCapture);
        EXPECT_EQ(expected.m_bNoDocumentAfterCapture, read.m_bNoDocumentAfterCapture);
        EXPECT_EQ(expected.m_bPinAfterCapture, read.m_bPinAfterCapture);
        EXPECT_EQ(expected.m_bLastRegionHotkey, read.m_bLastRegionHotkey);
        EXPECT_EQ(expected.m_wLastRegionKey, read.m_wLastRegionKey);
        EXPECT_EQ(expected.m_wLastRegionMods, read.m_wLastRegionMods);
        EXPECT_EQ(expected.m_bHasLastRegion, read.m_bHasLastRegion);
        EXPECT_EQ(expected.m_bDeskForAllCaptures, read.m_bDeskForAllCaptures);
        EXPECT_EQ(expected.m_bMarkupHotkey, read.m_bMarkupHotkey);
        EXPECT_EQ(expected.m_wMarkupKey, read.m_wMarkupKey);
        EXPECT_EQ(expected.m_wMarkupMods, read.m_wMarkupMods);
        EXPECT_EQ(expected.m_nRecordFramesPerSecond, read.m_nRecordFramesPerSecond);
    }
}
