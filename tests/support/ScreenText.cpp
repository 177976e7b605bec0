#include "ScreenText.h"

#include <algorithm>
#include <cstring>

#include "scoped/ScopedHandles.h"

namespace {

CFontOwner ScreenFont(int pixelHeight, const wchar_t* face)
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    LOGFONTW& font = metrics.lfMessageFont;
    if (face) {
        font.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    }
    font.lfHeight = -pixelHeight;
    font.lfQuality = ANTIALIASED_QUALITY;
    return CFontOwner(CreateFontIndirectW(&font));
}

}  // namespace

std::wstring ScreenTextFace(const wchar_t* face)
{
    const CFontOwner font = ScreenFont(16, face);
    const CMemoryDC dc(nullptr);
    const CSelectObject selected(dc, font.get());
    wchar_t drawn[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, drawn);
    return drawn;
}

SScreenText DrawScreenText(const std::vector<std::wstring>& lines, int pixelHeight, COLORREF ink,
                           COLORREF background, const wchar_t* face)
{
    const CFontOwner font = ScreenFont(pixelHeight, face);
    const CMemoryDC measure(nullptr);
    const CSelectObject measureFont(measure, font.get());

    SScreenText text;
    const int margin = pixelHeight;
    int y = margin, widest = 0;
    for (const std::wstring& line : lines) {
        SIZE size;
        GetTextExtentPoint32W(measure, line.c_str(), static_cast<int>(line.size()), &size);
        text.lines.push_back({margin, y, margin + size.cx, y + size.cy});
        widest = std::max(widest, static_cast<int>(size.cx));
        y += size.cy * 3 / 2;
    }
    text.width = widest + 2 * margin;
    text.height = y + margin;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = text.width;
    info.bmiHeader.biHeight = -text.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const CBitmapOwner bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const CMemoryDC dc(nullptr);
    const CSelectObject selectedBitmap(dc, bitmap.get()), selectedFont(dc, font.get());
    const CBrushOwner brush(CreateSolidBrush(background));
    const RECT all = {0, 0, text.width, text.height};
    FillRect(dc, &all, brush.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ink);
    for (size_t i = 0; i < lines.size(); ++i)
        TextOutW(dc, text.lines[i].left, text.lines[i].top, lines[i].c_str(), static_cast<int>(lines[i].size()));
    GdiFlush();
    text.pixels.resize(static_cast<size_t>(text.width) * text.height);
    std::memcpy(text.pixels.data(), bits, text.pixels.size() * sizeof(DWORD));
    for (DWORD& pixel : text.pixels)
        pixel &= 0xFFFFFF;
    return text;
}

SScreenText DrawScreenPanels(int width, int height, COLORREF desktop, const std::vector<SScreenPanel>& panels)
{
    SScreenText screen;
    screen.width = width;
    screen.height = height;
    const auto pixelOf = [](COLORREF colour) {
        return static_cast<DWORD>(GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour));
    };
    screen.pixels.assign(static_cast<size_t>(width) * height, pixelOf(desktop));
    for (const SScreenPanel& panel : panels) {
        const RECT place = {std::max(0L, panel.place.left), std::max(0L, panel.place.top),
                            std::min<LONG>(width, panel.place.right), std::min<LONG>(height, panel.place.bottom)};
        const SScreenText text = DrawScreenText(panel.lines, panel.pixelHeight, panel.ink, panel.background);
        for (int y = place.top; y < place.bottom; ++y) {
            for (int x = place.left; x < place.right; ++x) {
                const int textX = x - place.left, textY = y - place.top;
                screen.pixels[static_cast<size_t>(y) * width + x] =
                    textX < text.width && textY < text.height ? text.pixels[static_cast<size_t>(textY) * text.width + textX]
                                                              : pixelOf(panel.background);
            }
        }
        for (const RECT& line : text.lines)
            screen.lines.push_back({line.left + place.left, line.top + place.top, line.right + place.left,
                                    line.bottom + place.top});
    }
    return screen;
}
