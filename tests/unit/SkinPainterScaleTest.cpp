// The skins are laid out for 96 DPI and drawn at the screen's: the magnifier's frame and
// the Options preview grow with the DPI.
#include <gtest/gtest.h>

#include <windows.h>

#include "snapcore/SkinPainter.h"
#include "snapcore/SkinTable.h"

namespace {

using snapcore::CDrawScale;
using snapcore::CSkinPainter;

TEST(SkinPainter, AtOneAndAHalfTimesTheBaseDpiBordersAndCaptionsAreOneAndAHalfTimesAsWide)
{
    const RECT frame{0, 0, 400, 300};
    for (int skin = 0; skin < snapcore::SkinCount(); ++skin) {
        const RECT base = CSkinPainter(snapcore::SkinAt(skin), CDrawScale(96)).ClientRect(frame);
        const RECT large = CSkinPainter(snapcore::SkinAt(skin), CDrawScale(144)).ClientRect(frame);
        EXPECT_NEAR(large.left, base.left * 3 / 2, 1) << "skin " << skin;
        EXPECT_NEAR(large.top, base.top * 3 / 2, 1) << "skin " << skin;
        EXPECT_NEAR(frame.right - large.right, (frame.right - base.right) * 3 / 2, 1) << "skin " << skin;
    }
}

} // namespace
