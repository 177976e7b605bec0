// The size of a recorded GIF against ImageMagick's "-layers optimize" of the same frames,
// and what encoding costs a frame. The recording is typical screen work drawn with GDI on an
// 800 x 600 screen at 10 frames a second: a sentence typed a character a frame, a menu
// opening with its highlight moving down, a list scrolling a line a frame.
// Budget: our file no larger than ImageMagick's (ratio <= 1.0).
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchTools.h"
#include "NativeShell.h"
#include "TempFolder.h"
#include "imageio/ImageFormats.h"
#include "record/GifEncoder.h"
#include "scoped/ScopedHandles.h"

namespace {
constexpr int kWidth = 800, kHeight = 600, kDelayCs = 10;
constexpr int kTyped = 40, kMenuSteps = 12, kScrolled = 30;
const char kSentence[] = "The quick brown fox jumps over the lazy dog, twice.";
const char* const kMenuItems[] = {"Undo", "Redo", "Cut", "Copy", "Paste", "Delete", "Find...", "Replace..."};

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour)
{
    const RECT rect = {left, top, right, bottom};
    CBrushOwner brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.get());
}

void Text(HDC dc, int x, int y, const std::string& text, COLORREF colour)
{
    SetTextColor(dc, colour);
    TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

// One moment of the session: typed characters, the menu's highlighted item (-1 closed),
// the list's first visible line.
void DrawScreen(HDC dc, int typed, int menuItem, int firstLine)
{
    Fill(dc, 0, 0, kWidth, kHeight, RGB(58, 110, 165));
    Fill(dc, 30, 20, 770, 580, RGB(240, 240, 240));
    Fill(dc, 30, 20, 770, 48, RGB(10, 36, 106));
    SetBkMode(dc, TRANSPARENT);
    Text(dc, 40, 25, "Notes - Editor", RGB(255, 255, 255));
    const char* menus[] = {"File", "Edit", "View", "Help"};
    for (int i = 0; i < 4; ++i)
        Text(dc, 40 + i * 50, 52, menus[i], RGB(0, 0, 0));
    Fill(dc, 36, 74, 480, 574, RGB(255, 255, 255));
    for (int line = 0; line < 6; ++line)
        Text(dc, 44, 82 + line * 20, "Meeting notes, line " + std::to_string(line + 1) + ": agenda and actions",
             RGB(30, 30, 30));
    Text(dc, 44, 222, std::string(kSentence, typed), RGB(0, 0, 160));
    SIZE size = {};
    GetTextExtentPoint32A(dc, kSentence, typed, &size);
    Fill(dc, 44 + size.cx, 222, 45 + size.cx, 238, RGB(0, 0, 0));  // the caret

    Fill(dc, 490, 74, 764, 574, RGB(255, 255, 255));
    for (int row = 0; row < 31; ++row) {
        const int line = firstLine + row, top = 76 + row * 16;
        if (line % 2)
            Fill(dc, 490, top, 748, top + 16, RGB(245, 248, 252));
        Text(dc, 496, top, "Item " + std::to_string(1000 + line) + "   size " + std::to_string(line * 37 % 900) + " KB",
             RGB(20, 20, 20));
    }
    Fill(dc, 748, 74, 764, 574, RGB(225, 225, 225));
    Fill(dc, 750, 80 + firstLine * 4, 762, 150 + firstLine * 4, RGB(160, 160, 160));

    if (menuItem >= 0) {
        Fill(dc, 94, 72, 254, 72 + 8 * 22 + 6, RGB(128, 128, 128));  // shadow
        Fill(dc, 90, 68, 250, 68 + 8 * 22 + 2, RGB(250, 250, 250));
        for (int i = 0; i < 8; ++i) {
            const bool lit = i == menuItem;
            if (lit)
                Fill(dc, 92, 70 + i * 22, 248, 92 + i * 22, RGB(0, 120, 215));
            Text(dc, 104, 73 + i * 22, kMenuItems[i], lit ? RGB(255, 255, 255) : RGB(0, 0, 0));
        }
    }
}

struct SSession {
    std::vector<std::vector<uint32_t>> frames;
};

SSession RecordSession(const CTempFolder& folder)
{
    SSession session;
    DWORD* pixels = nullptr;
    CBitmapOwner screen = CreateTopDownDib(kWidth, kHeight, pixels);
    CMemoryDC dc(nullptr);
    CSelectObject selected(dc, screen.get());
    CFontOwner font(CreateFontA(-14, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0, "Tahoma"));
    CSelectObject fontSelected(dc, font.get());
    auto take = [&](int typed, int menuItem, int firstLine) {
        DrawScreen(dc, typed, menuItem, firstLine);
        GdiFlush();
        std::vector<uint32_t> frame(pixels, pixels + size_t(kWidth) * kHeight);
        for (uint32_t& pixel : frame)
            pixel &= 0xFFFFFF;
        char name[32];
        std::snprintf(name, sizeof name, "f%03u.png", static_cast<unsigned>(session.frames.size()));
        SaveImageFile(screen.get(), FindImageFormat("png"), folder.PathOf(name).c_str());
        session.frames.push_back(std::move(frame));
    };
    for (int typed = 0; typed <= kTyped; ++typed)
        take(typed, -1, 0);
    for (int item = 0; item < kMenuSteps; ++item)
        take(kTyped, item % 8, 0);
    for (int line = 0; line <= kScrolled; ++line)
        take(kTyped, -1, line);
    return session;
}

uint64_t FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}
}  // namespace

int main()
{
    CTempFolder folder;
    const SSession session = RecordSession(folder);
    const size_t count = session.frames.size();

    CSamples perFrame;
    for (int round = 0; round < 3; ++round) {
        const std::string ours = folder.PathOf("ours" + std::to_string(round) + ".gif");
        const double start = Seconds();
        CGifEncoder encoder(kWidth, kHeight);
        if (!encoder.Start(ours.c_str()))
            return std::printf("cannot write %s (%lu)\n", ours.c_str(), GetLastError()), 1;
        for (size_t i = 0; i < count; ++i)
            encoder.AddFrame(session.frames[i].data(), i ? kDelayCs : 0);
        if (!encoder.Finish(kDelayCs))
            return std::printf("writing failed (%lu)\n", encoder.Error()), 1;
        perFrame.Add((Seconds() - start) * 1000 / count);
    }
    if (RunNativeShell("cd '" + UnixPath(folder.Path()) + "' && convert -delay " + std::to_string(kDelayCs) +
                       " -loop 0 f*.png -layers optimize theirs.gif") != 0)
        return std::printf("ImageMagick failed\n"), 1;

    const uint64_t ours = FileSize(folder.PathOf("ours0.gif")), theirs = FileSize(folder.PathOf("theirs.gif"));
    const double ratio = double(ours) / double(theirs);
    std::printf("%u frames of %d x %d at %d frames a second\n", static_cast<unsigned>(count), kWidth, kHeight,
                100 / kDelayCs);
    std::printf("file size vs ImageMagick -layers optimize     %8llu / %8llu bytes | ratio %5.3f  budget <= 1.0%s\n",
                static_cast<unsigned long long>(ours), static_cast<unsigned long long>(theirs), ratio,
                ratio <= 1.0 ? "" : " MISSED");
    std::printf("encoding, per frame (median of 3 runs)       %8.2f ms | %5.3f of the frame interval\n",
                perFrame.Median(), perFrame.Median() / (kDelayCs * 10));
    return 0;
}
