// What putting one 800 x 600 screen frame into GIF form costs (changed rectangle,
// transparency, palette, indices), against a plain copy of the frame's pixels measured in
// the same run, round after round:
// - the first frame of a recording: the whole screen, text on flat panels with a photo-like
//   gradient, so its colours are reduced (budget: 20 copies, a few milliseconds);
// - the same screen without the gradient: at most 256 colours, stored exactly;
// - the next frame after a few characters were typed: only a small rectangle changed, but
//   both frames are read to find it (budget: 5 copies).
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "BenchTools.h"
#include "record/GifFrame.h"

namespace {
constexpr int kWidth = 800, kHeight = 600, kRounds = 30;

// Window chrome and text in a few colours, and, when asked, a photo: a smooth gradient with
// a little grain over a quarter of the screen.
std::vector<uint32_t> MakeScreen(bool withPhoto)
{
    std::vector<uint32_t> screen(size_t(kWidth) * kHeight);
    unsigned seed = 777;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            uint32_t pixel = y < 30 ? 0x2B579A : x < 180 ? 0xF3F3F3 : 0xFFFFFF;
            if (y >= 40 && (y % 18) < 12 && ((x * 13 + y * 7) / 5 % 9) < 3)
                pixel = (x / 90 % 3 == 0) ? 0x0563C1 : 0x1E1E1E;
            if (withPhoto && x >= 420 && x < 780 && y >= 260 && y < 530) {
                seed = seed * 1103515245u + 12345u;
                const uint32_t grain = seed >> 28;
                pixel = ((x - 420) * 200 / 360 + grain) << 16 | ((y - 260) * 180 / 270 + grain) << 8 |
                        (120 + (x + y) % 60);
            }
            screen[size_t(y) * kWidth + x] = pixel;
        }
    return screen;
}

void TypeCharacters(std::vector<uint32_t>& screen, int count)
{
    for (int c = 0; c < count; ++c)
        for (int y = 300; y < 314; ++y)
            for (int x = 200 + 9 * c; x < 207 + 9 * c; ++x)
                if ((x + y) % 3 == 0)
                    screen[size_t(y) * kWidth + x] = 0x1E1E1E;
}

void Measure(const char* what, const uint32_t* previous, const std::vector<uint32_t>& current, double budget)
{
    std::vector<uint32_t> copy(current.size());
    CSamples ours, copies;
    SGifFrame frame;
    for (int round = 0; round < kRounds; ++round) {
        TimeOnce(ours, [&] { MakeGifFrame(previous, current.data(), kWidth, kHeight, frame); });
        TimeOnce(copies, [&] { std::memcpy(copy.data(), current.data(), current.size() * sizeof(uint32_t)); });
    }
    PrintPairRatios(what, ours, copies, budget);
    std::printf("    %ld x %ld pixels stored, %u colours, %s, transparent index %d\n",
                frame.rect.right - frame.rect.left, frame.rect.bottom - frame.rect.top,
                static_cast<unsigned>(frame.palette.size()), frame.exact ? "exact" : "reduced", frame.transparent);
}
} // namespace

int main()
{
    const std::vector<uint32_t> photo = MakeScreen(true), text = MakeScreen(false);
    Measure("first frame with a photo vs copy of the frame", nullptr, photo, 20.0);
    Measure("first frame, text only, vs copy of the frame", nullptr, text, 20.0);
    std::vector<uint32_t> typed = photo;
    TypeCharacters(typed, 4);
    Measure("four characters typed vs copy of the frame", photo.data(), typed, 5.0);
    return 0;
}
