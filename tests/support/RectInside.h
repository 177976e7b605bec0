#pragma once
#include <windows.h>

#include <gtest/gtest.h>

// Whether inner lies within outer, naming both when it does not.
inline ::testing::AssertionResult Inside(const RECT& inner, const RECT& outer)
{
    if (inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
        inner.bottom <= outer.bottom)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << inner.left << "," << inner.top << ")-(" << inner.right << ","
                                         << inner.bottom << ") leaves (" << outer.left << "," << outer.top << ")-("
                                         << outer.right << "," << outer.bottom << ")";
}
