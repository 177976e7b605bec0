// What the long screenshot's stitcher costs, against a reference measured in the same run:
// - one step (row hashes of the new grab, the offset found and checked pixel for pixel,
//   the new rows kept), against one grab of the selection: a BitBlt of the selected area
//   from a screen-sized memory DC into a DIB section, as the scrolling driver grabs
//   (budget: 0.2 of a grab), for 800 x 600 and 1200 x 900 selections; and, for comparison,
//   against a grab of the real screen, which is what the driver will pay;
// - stitching a 10,000-row page end to end, 60 rows a step, in milliseconds, with the
//   copies that stand in for the grabs (no budget: the figure for the README).
// Step and grab are taken in pairs, round after round; the budget is judged on the median ratio.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "BenchTools.h"
#include "capture/longshot/ScrollStitcher.h"

namespace {
constexpr int kRounds = 30;
constexpr int kStep = 60;

// A page of screen-like content: flat panels with strokes, gradients and noise, every row
// its own because the gradient runs down the page.
std::vector<uint32_t> MakePage(int width, int rows)
{
    std::vector<uint32_t> page(size_t(width) * rows);
    unsigned seed = 12345;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t pixel;
            if (x < width / 3)
                pixel = ((x / 7 + y / 11) % 5 == 0) ? 0x202020 : 0xF0F0F0;
            else if (x < width * 2 / 3)
                pixel = static_cast<uint32_t>(y % 4096) << 8 | static_cast<uint32_t>(x & 0xFF);
            else {
                seed = seed * 1103515245u + 12345u;
                pixel = seed >> 8 & 0xFFFFFF;
            }
            page[size_t(y) * width + x] = pixel;
        }
    return page;
}

// What the driver's grab leaves in the buffer the stitcher handed back.
void GrabAt(std::vector<uint32_t>& grab, const std::vector<uint32_t>& page, int width, int top)
{
    const uint32_t* const first = page.data() + size_t(top) * width;
    grab.assign(first, first + grab.size());
}

void CompareWithGrab(HDC screen, const char* from, int width, int height)
{
    const std::vector<uint32_t> page = MakePage(width, height + (kRounds + 1) * kStep);
    DWORD* grabPixels = nullptr;
    const CBitmapOwner grabBitmap(CreateTopDownDib(width, height, grabPixels));
    const CMemoryDC grabDC(nullptr);
    CSelectObject selectGrab(grabDC, grabBitmap.get());
    CSamples steps, hashedSteps, grabs, hashedGrabs;
    CScrollStitcher stitcher(width, height);
    std::vector<uint32_t> grab(size_t(width) * height);
    GrabAt(grab, page, width, 0);
    stitcher.Add(grab.data(), 0);
    for (int round = 0; round < kRounds; ++round) {
        GrabAt(grab, page, width, (round + 1) * kStep);
        // Every other step as after a wheel turned by hand, with the distance unknown.
        const int told = round % 2 ? kStep : 0;
        StitchAnswer answer{};
        TimeOnce(round % 2 ? steps : hashedSteps, [&] { answer = stitcher.Add(grab.data(), told); });
        if (answer.step != StitchStep::kAppended)
            std::printf("a step was not found\n");
        TimeOnce(round % 2 ? grabs : hashedGrabs, [&] {
            BitBlt(grabDC, 0, 0, width, height, screen, 100, 100, SRCCOPY);
            GdiFlush();
        });
    }
    char what[80];
    std::snprintf(what, sizeof what, "step, distance told, vs grab from %s, %d x %d", from, width, height);
    PrintPairRatios(what, steps, grabs, 0.2);
    std::snprintf(what, sizeof what, "step, distance unknown, vs grab from %s, %d x %d", from, width, height);
    PrintPairRatios(what, hashedSteps, hashedGrabs, 0.2);
}

void StitchTallPage(int width, int height, int pageRows)
{
    const std::vector<uint32_t> page = MakePage(width, pageRows);
    CScrollStitcher stitcher(width, height);
    std::vector<uint32_t> grab(size_t(width) * height);
    const double start = Seconds();
    for (int top = 0; top <= pageRows - height; top += kStep) {
        GrabAt(grab, page, width, top);
        stitcher.Add(grab.data(), top ? kStep : 0);
    }
    const int stitchedRows = stitcher.PictureHeight();
    std::vector<uint32_t> picture(size_t(width) * stitchedRows);
    stitcher.TakeInto(picture.data());
    const double ms = (Seconds() - start) * 1000.0;
    const bool exact = stitchedRows == pageRows - (pageRows - height) % kStep &&
                       std::memcmp(picture.data(), page.data(), picture.size() * 4) == 0;
    std::printf("stitching a %d-row page %d wide, %d rows a step: %.1f ms%s\n", pageRows, width, kStep, ms,
                exact ? "" : " (NOT EXACT)");
}
}  // namespace

int main()
{
    const int screenWidth = 1920, screenHeight = 1080;
    const CBitmapOwner screen(MakeScreenshotLikeBitmap(screenWidth, screenHeight));
    const CMemoryDC screenDC(nullptr);
    CSelectObject selectScreen(screenDC, screen.get());
    CompareWithGrab(screenDC, "memory", 800, 600);
    CompareWithGrab(screenDC, "memory", 1200, 900);
    const HDC display = GetDC(nullptr);
    CompareWithGrab(display, "screen", 800, 600);
    ReleaseDC(nullptr, display);
    StitchTallPage(800, 600, 10000);
    return 0;
}
