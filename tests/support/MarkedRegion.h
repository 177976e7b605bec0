#pragma once
#include <windows.h>

#include <string>

#include "scoped/ScopedHandles.h"

// The picture capture and mark up is checked over: a window of four known quarters, a
// region dragged inside it, a rectangle and an arrow drawn in the region with the tools'
// default look, all in screen coordinates clear of the program's window.
namespace MarkedRegion {
const RECT kPlace = {1000, 800, 1240, 980};
const COLORREF kQuarters[4] = {RGB(200, 30, 30), RGB(30, 160, 40), RGB(40, 50, 210), RGB(230, 200, 20)};
const RECT kRegion = {1010, 810, 1230, 970};
const RECT kBox = {1030, 830, 1090, 870};
const POINT kArrowFrom = {1120, 950}, kArrowTo = {1200, 860};
constexpr COLORREF kMarkColour = RGB(255, 0, 0);

// The colour of the quarters window at a point of the screen.
COLORREF QuarterAt(int x, int y);

// What a picture of the screen at region shows wrongly: a wrong size, a pixel away from
// the marks that is not the quarters' (with marks) or not the quarters' alone (without),
// or a mark missing where it was drawn. Empty when it is right.
std::string PictureFaults(HBITMAP picture, const RECT& region, bool withMarks);

// The picture on the clipboard once its sequence number has moved on from sequence;
// null when it does not within the time.
CBitmapOwner ClipboardPictureAfter(DWORD sequence, DWORD timeoutMs = 10000);
}  // namespace MarkedRegion
