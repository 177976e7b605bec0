#pragma once
#include <windows.h>

#include <vector>

// Screen text is small, antialiased and often light on dark, while the engine reads
// dark text on light best with lines some 30-40 px high. These turn a picture in the
// program's layout (0x00RRGGBB, top-down) into what the engine reads best.

// The engine's page-segmentation modes that suit a picture.
enum class EOcrPageMode { Choose = -1, Auto = 3, Block = 6, SingleLine = 7 };

struct STextLines {
    int height = 0;  // the median height of the text lines' ink, 0 when there is no ink
    int count = 0;
};

// Luminance 0-255 of a 0x00RRGGBB pixel.
int OcrLuminance(DWORD pixel);
// Whether the background, the most common luminance, is darker than the picture on average,
// that is whether the text is lighter than what it stands on.
bool IsLightOnDark(const DWORD* pixels, int width, int height);
// The text lines found in the row profile of ink, the pixels far from the background.
STextLines MeasureTextLines(const DWORD* pixels, int width, int height);
// The scale that brings lines of lineHeight to about 34 px, from 1x to 4x.
double ChooseOcrScale(int lineHeight);
// One line, a block, or the engine's own layout analysis for a screen-sized area.
EOcrPageMode ChooseOcrPageMode(int width, int height, const STextLines& lines);

// A part of a screen on one flat or gently shaded background (a window, a panel, a title
// bar), with its text and nothing of its neighbours': the pixels of rect, top-down, where
// whatever lies on another background is painted over with this one.
struct SScreenRegion {
    RECT rect;
    std::vector<DWORD> pixels;
};
// The regions of the screen picture that hold text, top to bottom, so that each is read with
// its own polarity and scale; the whole picture when no background covers enough of it.
std::vector<SScreenRegion> SplitScreenRegions(const DWORD* pixels, int width, int height);

// An 8-bit grey picture for the engine, with the way back to the source's coordinates:
// source x = (x - margin) / scale.
struct SOcrInput {
    int width = 0, height = 0;
    std::vector<unsigned char> grey;
    double scale = 1;
    int margin = 0;
    EOcrPageMode pageMode = EOcrPageMode::Block;
};

// Dark on light, scaled bilinearly so lines reach the engine's size, in a margin of
// background; the page mode is pageMode unless that is Choose.
SOcrInput PrepareScreenText(const DWORD* pixels, int width, int height, EOcrPageMode pageMode);
// The picture in grey as it is, for comparison with the plain engine; Choose means Block.
SOcrInput PrepareAsIs(const DWORD* pixels, int width, int height, EOcrPageMode pageMode);
