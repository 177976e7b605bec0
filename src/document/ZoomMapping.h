#pragma once
#include <windows.h>

// Maps one logical unit (an image pixel) onto zoom device pixels along both axes,
// with the extents 1000 : trunc(zoom x 1000).
void SetZoomMapping(HDC dc, float zoom);

// How many device pixels length image pixels cover under that mapping.
int ZoomedLength(int length, float zoom);
