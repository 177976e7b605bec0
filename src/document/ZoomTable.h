#pragma once

// The zoom factors the zoom commands step through (command 32810 + index), with a
// sentinel above the last entry that is never selectable.
constexpr int kZoomLevelCount = 13;
constexpr int kZoomIndexActual = 4;
extern const float g_zoomLevels[kZoomLevelCount + 1];

// Where a zoom lies in the table: on entry `index`, between `index` and the next
// one, or outside (below the first entry or at the sentinel and above; index 13).
struct ZoomPosition {
    enum Kind { kExact, kBetween, kOutside } kind;
    int index;
};
ZoomPosition FindZoomNeighbour(float zoom);

// The table index the zoom commands go to from `zoom`, or -1 when the command does
// nothing (zoom in at 3200% and above, zoom out at 10% and below).
int ZoomInIndex(float zoom);
int ZoomOutIndex(float zoom);

// The radio-mark index for a zoom reached by fitting: the entry it equals, -1
// between entries, 13 outside the table.
int FittedZoomIndex(float zoom);

bool CanZoomIn(float zoom);
bool CanZoomOut(float zoom);
