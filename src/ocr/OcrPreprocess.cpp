#include "ocr/OcrPreprocess.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kTargetLineHeight = 34;
constexpr int kMarginAtTarget = 16;
// Neighbours this close in luminance are one background, so that gradients hold together
// while antialiased strokes, which step further, stay apart.
constexpr int kBackgroundStep = 2;
// Smaller patches of one colour are glyphs, their holes, icons and buttons: they belong to
// the background around them.
constexpr int kRegionPixels = 3000;
// A region is read around its ink only, with this much of its background around it: a
// desktop spans the screen but holds a few icons' names.
constexpr int kInkStep = 32;
constexpr int kInkPadding = 8;

int BackgroundLuminance(const DWORD* pixels, size_t count)
{
    int histogram[256] = {};
    for (size_t i = 0; i < count; ++i)
        ++histogram[OcrLuminance(pixels[i])];
    return static_cast<int>(std::max_element(histogram, histogram + 256) - histogram);
}

std::vector<unsigned char> GreyOf(const DWORD* pixels, size_t count, bool invert)
{
    std::vector<unsigned char> grey(count);
    for (size_t i = 0; i < count; ++i) {
        const int luminance = OcrLuminance(pixels[i]);
        grey[i] = static_cast<unsigned char>(invert ? 255 - luminance : luminance);
    }
    return grey;
}

// Bilinear, sampling pixel centres; margin pixels of fill around the scaled picture.
SOcrInput Scaled(const std::vector<unsigned char>& grey, int width, int height, double scale, int margin,
                 unsigned char fill)
{
    SOcrInput input;
    input.scale = scale;
    input.margin = margin;
    const int scaledWidth = std::max(1, static_cast<int>(std::lround(width * scale)));
    const int scaledHeight = std::max(1, static_cast<int>(std::lround(height * scale)));
    input.width = scaledWidth + 2 * margin;
    input.height = scaledHeight + 2 * margin;
    input.grey.assign(static_cast<size_t>(input.width) * input.height, fill);
    for (int y = 0; y < scaledHeight; ++y) {
        const double sy = std::clamp((y + 0.5) / scale - 0.5, 0.0, height - 1.0);
        const int y0 = static_cast<int>(sy), y1 = std::min(y0 + 1, height - 1);
        const double fy = sy - y0;
        unsigned char* row = &input.grey[static_cast<size_t>(y + margin) * input.width + margin];
        for (int x = 0; x < scaledWidth; ++x) {
            const double sx = std::clamp((x + 0.5) / scale - 0.5, 0.0, width - 1.0);
            const int x0 = static_cast<int>(sx), x1 = std::min(x0 + 1, width - 1);
            const double fx = sx - x0;
            const auto at = [&](int px, int py) { return double(grey[static_cast<size_t>(py) * width + px]); };
            const double top = at(x0, y0) + (at(x1, y0) - at(x0, y0)) * fx;
            const double bottom = at(x0, y1) + (at(x1, y1) - at(x0, y1)) * fx;
            row[x] = static_cast<unsigned char>(std::lround(top + (bottom - top) * fy));
        }
    }
    return input;
}

// Labels each pixel with the background component it lies on: patches of at least
// kRegionPixels connected pixels of one colour label themselves, every other pixel takes
// the label of the nearest such patch to its left on its row, or else to its right.
// seeds gets each patch's first pixel, a pixel of the background itself.
std::vector<int> BackgroundLabels(const std::vector<unsigned char>& luminance, int width, int height,
                                  std::vector<size_t>& seeds)
{
    const size_t size = luminance.size();
    std::vector<int> labels(size, -1), patch;
    int count = 0;
    for (size_t seed = 0; seed < size; ++seed) {
        if (labels[seed] != -1)
            continue;
        patch.assign(1, static_cast<int>(seed));
        labels[seed] = -2;  // visited, not yet a region
        for (size_t next = 0; next < patch.size(); ++next) {
            const int at = patch[next], x = at % width, y = at / width;
            const auto visit = [&](int neighbour) {
                if (labels[neighbour] == -1 && std::abs(luminance[neighbour] - luminance[at]) <= kBackgroundStep) {
                    labels[neighbour] = -2;
                    patch.push_back(neighbour);
                }
            };
            if (x > 0)
                visit(at - 1);
            if (x + 1 < width)
                visit(at + 1);
            if (y > 0)
                visit(at - width);
            if (y + 1 < height)
                visit(at + width);
        }
        const bool region = patch.size() >= static_cast<size_t>(kRegionPixels);
        for (const int at : patch)
            labels[at] = region ? count : -3;
        if (region) {
            seeds.push_back(seed);
            ++count;
        }
    }
    for (int y = 0; y < height; ++y) {
        int* row = &labels[static_cast<size_t>(y) * width];
        int carried = -1;
        for (int x = 0; x < width; ++x)
            row[x] = row[x] >= 0 ? (carried = row[x]) : carried;
        for (int x = width - 1; x >= 0; --x)
            row[x] = row[x] >= 0 ? (carried = row[x]) : carried;
    }
    return labels;
}

}  // namespace

std::vector<SScreenRegion> SplitScreenRegions(const DWORD* pixels, int width, int height)
{
    const size_t size = static_cast<size_t>(width) * height;
    std::vector<unsigned char> luminance(size);
    for (size_t i = 0; i < size; ++i)
        luminance[i] = static_cast<unsigned char>(OcrLuminance(pixels[i]));
    std::vector<size_t> seeds;
    const std::vector<int> labels = BackgroundLabels(luminance, width, height, seeds);
    const int count = static_cast<int>(seeds.size());
    std::vector<SScreenRegion> regions;
    if (count <= 1) {
        regions.push_back({{0, 0, width, height}, std::vector<DWORD>(pixels, pixels + size)});
        return regions;
    }
    std::vector<RECT> bounds(count, RECT{width, height, 0, 0});
    for (size_t i = 0; i < size; ++i) {
        if (labels[i] < 0)
            continue;  // a row with no background at all
        RECT& r = bounds[labels[i]];
        const LONG x = static_cast<LONG>(i % width), y = static_cast<LONG>(i / width);
        r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
    }
    std::vector<RECT> inks(count, RECT{width, height, 0, 0});
    for (size_t i = 0; i < size; ++i) {
        const int label = labels[i];
        if (label < 0 || std::abs(luminance[i] - luminance[seeds[label]]) <= kInkStep)
            continue;
        RECT& r = inks[label];
        const LONG x = static_cast<LONG>(i % width), y = static_cast<LONG>(i / width);
        r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
    }
    for (int label = 0; label < count; ++label) {
        const RECT& ink = inks[label];
        if (ink.right == 0)
            continue;
        const RECT& all = bounds[label];
        const RECT r = {std::max(all.left, ink.left - kInkPadding), std::max(all.top, ink.top - kInkPadding),
                        std::min(all.right, ink.right + kInkPadding), std::min(all.bottom, ink.bottom + kInkPadding)};
        SScreenRegion region{r, {}};
        region.pixels.reserve(static_cast<size_t>(r.right - r.left) * (r.bottom - r.top));
        for (LONG y = r.top; y < r.bottom; ++y)
            for (LONG x = r.left; x < r.right; ++x) {
                const size_t i = static_cast<size_t>(y) * width + x;
                region.pixels.push_back(labels[i] == label ? pixels[i] : pixels[seeds[label]]);
            }
        if (MeasureTextLines(region.pixels.data(), r.right - r.left, r.bottom - r.top).count > 0)
            regions.push_back(std::move(region));
    }
    std::sort(regions.begin(), regions.end(), [](const SScreenRegion& a, const SScreenRegion& b) {
        return a.rect.top != b.rect.top ? a.rect.top < b.rect.top : a.rect.left < b.rect.left;
    });
    return regions;
}

int OcrLuminance(DWORD pixel)
{
    const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return (r * 299 + g * 587 + b * 114 + 500) / 1000;
}

bool IsLightOnDark(const DWORD* pixels, int width, int height)
{
    const size_t count = static_cast<size_t>(width) * height;
    if (count == 0)
        return false;
    double sum = 0;
    for (size_t i = 0; i < count; ++i)
        sum += OcrLuminance(pixels[i]);
    return BackgroundLuminance(pixels, count) < sum / count;
}

STextLines MeasureTextLines(const DWORD* pixels, int width, int height)
{
    const size_t count = static_cast<size_t>(width) * height;
    STextLines lines;
    if (count == 0)
        return lines;
    const int background = BackgroundLuminance(pixels, count);
    int contrast = 0;
    for (size_t i = 0; i < count; ++i)
        contrast = std::max(contrast, std::abs(OcrLuminance(pixels[i]) - background));
    // Antialiased edges are half-ink; only the strokes' cores count, and flat noise never.
    const int inkContrast = std::max(40, contrast / 2);
    std::vector<int> heights;
    int run = 0;
    for (int y = 0; y <= height; ++y) {
        bool ink = false;
        for (int x = 0; y < height && x < width && !ink; ++x)
            ink = std::abs(OcrLuminance(pixels[static_cast<size_t>(y) * width + x]) - background) > inkContrast;
        if (ink) {
            ++run;
            continue;
        }
        if (run >= 3)  // shorter runs are rules, underlines and specks
            heights.push_back(run);
        run = 0;
    }
    if (heights.empty())
        return lines;
    std::nth_element(heights.begin(), heights.begin() + heights.size() / 2, heights.end());
    lines.height = heights[heights.size() / 2];
    lines.count = static_cast<int>(heights.size());
    return lines;
}

double ChooseOcrScale(int lineHeight)
{
    if (lineHeight <= 0)
        return 1;
    return std::clamp(double(kTargetLineHeight) / lineHeight, 1.0, 4.0);
}

EOcrPageMode ChooseOcrPageMode(int width, int height, const STextLines& lines)
{
    if (lines.count == 1 && height <= 4 * lines.height)
        return EOcrPageMode::SingleLine;
    if (width >= 640 && height >= 480)
        return EOcrPageMode::Auto;
    return EOcrPageMode::Block;
}

SOcrInput PrepareScreenText(const DWORD* pixels, int width, int height, EOcrPageMode pageMode)
{
    const size_t count = static_cast<size_t>(width) * height;
    if (count == 0)
        return SOcrInput();
    const bool invert = IsLightOnDark(pixels, width, height);
    const STextLines lines = MeasureTextLines(pixels, width, height);
    const std::vector<unsigned char> grey = GreyOf(pixels, count, invert);
    const int background = BackgroundLuminance(pixels, count);
    SOcrInput input = Scaled(grey, width, height, ChooseOcrScale(lines.height), kMarginAtTarget,
                             static_cast<unsigned char>(invert ? 255 - background : background));
    input.pageMode = pageMode == EOcrPageMode::Choose ? ChooseOcrPageMode(width, height, lines) : pageMode;
    return input;
}

SOcrInput PrepareAsIs(const DWORD* pixels, int width, int height, EOcrPageMode pageMode)
{
    SOcrInput input;
    input.width = width;
    input.height = height;
    input.grey = GreyOf(pixels, static_cast<size_t>(width) * height, false);
    input.pageMode = pageMode == EOcrPageMode::Choose ? EOcrPageMode::Block : pageMode;
    return input;
}
