// A window of fixed size beside a rectangle, and over its right part where no side has room.
#include <gtest/gtest.h>

#include <windows.h>

#include "document/WindowBeside.h"

TEST(WindowBeside, BesideOnTheFirstSideWithRoomElseOverItsRightPart)
{
    const RECT work{0, 0, 1920, 1040};
    const SIZE size{500, 400};
    RECT window = PlaceWindowBeside(RECT{1500, 100, 1800, 300}, size, work, 10);
    const RECT left{990, 100, 1490, 500};
    EXPECT_TRUE(EqualRect(&left, &window));
    window = PlaceWindowBeside(RECT{100, 700, 1800, 1000}, size, work, 10);
    const RECT above{100, 290, 600, 690};
    EXPECT_TRUE(EqualRect(&above, &window));
    window = PlaceWindowBeside(RECT{100, 100, 1800, 1000}, size, work, 10);
    const RECT overTheRightPart{1300, 100, 1800, 500};
    EXPECT_TRUE(EqualRect(&overTheRightPart, &window));
}
