// The text-reading window over pictures of real GDI text: the text it shows, its outlines
// clicked, its copies, and closing it while it reads.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "Gbk.h"
#include "KeyInput.h"
#include "LiveGdiObjects.h"
#include "MessagePump.h"
#include "OcrEngineSuite.h"
#include "PixelReader.h"
#include "RealClick.h"
#include "ScreenText.h"
#include "TempFolder.h"
#include "ThreadWindows.h"
#include "document/TextReadingWindow.h"
#include "imageio/TopDownDib.h"
#include "ocr/OcrEngine.h"
#include "res/resource.h"
#include "util/SystemFonts.h"

namespace {

const std::vector<std::wstring> kLines{L"设置 Settings 123", L"使用 Windows 10 系统", L"文件(F) 编辑(E) 帮助(H)"};

CBitmapOwner Picture(const SScreenText& screen)
{
    DWORD* pixels = nullptr;
    CBitmapOwner bitmap = CreateTopDownDib(screen.width, screen.height, pixels);
    std::copy(screen.pixels.begin(), screen.pixels.end(), pixels);
    return bitmap;
}

std::wstring TextOf(HWND control)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, &text[0], static_cast<int>(text.size()))));
    return text;
}

std::string Status(HWND window)
{
    return WindowText(GetDlgItem(window, IDC_OCR_STATUS));
}

std::string LoadedText(UINT id)
{
    char text[512] = "";
    LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return text;
}

std::pair<DWORD, DWORD> Selection(HWND edit)
{
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

std::wstring ClipboardText()
{
    std::wstring text;
    if (!OpenClipboard(nullptr))
        return L"(clipboard busy)";
    if (HGLOBAL block = GetClipboardData(CF_UNICODETEXT))
        if (const auto* data = static_cast<const wchar_t*>(GlobalLock(block))) {
            text = data;
            GlobalUnlock(block);
        }
    CloseClipboard();
    return text;
}

void EmptyTheClipboard()
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
}

std::set<DWORD> LiveThreads()
{
    const CKernelHandleOwner snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    std::set<DWORD> threads;
    for (BOOL more = Thread32First(snapshot.get(), &entry); more; more = Thread32Next(snapshot.get(), &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            threads.insert(entry.th32ThreadID);
    return threads;
}

// Those of threads that still run.
std::set<DWORD> StillLive(const std::set<DWORD>& threads)
{
    std::set<DWORD> live;
    for (DWORD thread : LiveThreads())
        if (threads.count(thread))
            live.insert(thread);
    return live;
}

// The vertical extents, in the pane's client area, of the boxes outlined in blue at their
// left edges, as the screen shows them.
std::vector<std::pair<int, int>> OutlinedRows(HWND pane, int& left)
{
    RECT place{};
    GetWindowRect(pane, &place);
    const std::vector<DWORD> pixels = ScreenPixels(place);
    const int width = place.right - place.left, height = place.bottom - place.top;
    const auto blue = [&](int x, int y) {
        const DWORD pixel = pixels[static_cast<size_t>(y) * width + x];
        return (pixel & 0xFF) > 180 && (pixel >> 16) < 60;
    };
    left = width;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < left; ++x)
            if (blue(x, y))
                left = x;
    std::vector<std::pair<int, int>> rows;
    for (int y = 0; y < height; ++y) {
        bool outlined = false;
        for (int x = left; x < std::min(width, left + 6); ++x)
            outlined = outlined || blue(x, y);
        if (outlined && (rows.empty() || rows.back().second != y))
            rows.push_back({y, y + 1});
        else if (outlined)
            rows.back().second = y + 1;
    }
    return rows;
}

using TextReadingWindow = OcrEngineSuite;

TEST_F(TextReadingWindow, ShowsTheTextSelectsAnOutlinedLineAndCopies)
{
    const SScreenText screen = DrawScreenText(kLines, 14, RGB(0, 0, 0), RGB(0xFF, 0xFF, 0xFF));
    const CBitmapOwner picture = Picture(screen);
    const HWND window = OpenTextReadingWindow(*s_engine, nullptr, picture.get(), RECT{50, 50, 60, 60});
    ASSERT_TRUE(window);
    EXPECT_EQ("LumigrabTextReading", WindowClass(window));
    EXPECT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    const HWND edit = GetDlgItem(window, IDC_OCR_TEXT);
    const std::wstring expected = kLines[0] + L"\r\n" + kLines[1] + L"\r\n" + kLines[2];
    ASSERT_TRUE(PumpUntil([&] { return TextOf(edit) == expected; }, 60000, window)) << ToGbk(TextOf(edit));
    EXPECT_EQ(LoadedText(IDS_OCR_CLOSE), WindowText(GetDlgItem(window, IDC_OCR_CLOSE)));
    EXPECT_EQ(edit, GetFocus());
    EXPECT_EQ(std::make_pair(DWORD(0), DWORD(0)), Selection(edit));
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(SystemFontMetrics().lfMessageFont.lfHeight, font.lfHeight) << "the message font, at 96 DPI";

    // A correction in the first line moves where the others start.
    TypeText("xyz");
    ASSERT_TRUE(PumpUntil([&] { return TextOf(edit) == L"xyz" + expected; }, 5000, window));
    const HWND pane = GetDlgItem(window, IDC_OCR_PICTURE);
    UpdateWindow(pane);
    int left = 0;
    const std::vector<std::pair<int, int>> rows = OutlinedRows(pane, left);
    ASSERT_EQ(kLines.size(), rows.size());
    POINT inSecond{left + 8, (rows[1].first + rows[1].second) / 2};
    ClientToScreen(pane, &inSecond);
    ClickAtScreen(inSecond);
    const DWORD secondStart = static_cast<DWORD>(3 + kLines[0].size() + 2);
    const auto second = std::make_pair(secondStart, secondStart + static_cast<DWORD>(kLines[1].size()));
    EXPECT_TRUE(PumpUntil([&] { return Selection(edit) == second; }, 5000, window))
        << Selection(edit).first << '-' << Selection(edit).second;

    EmptyTheClipboard();
    PressKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(PumpUntil([&] { return ClipboardText() == kLines[1]; }, 5000, window)) << ToGbk(ClipboardText());

    // Another program holding the clipboard: the status says why nothing was copied.
    {
        const CKernelHandleOwner held(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
            release(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        std::thread holder([&] {
            OpenClipboard(nullptr);
            SetEvent(held.get());
            WaitForSingleObject(release.get(), 10000);
            CloseClipboard();
        });
        WaitForSingleObject(held.get(), 10000);
        ClickWindow(GetDlgItem(window, IDC_OCR_COPY_ALL));
        const std::string failed = LoadedText(IDS_OCR_COPY_FAILED);
        const std::string prefix = failed.substr(0, failed.find('%'));
        EXPECT_TRUE(PumpUntil([&] { return Status(window).compare(0, prefix.size(), prefix) == 0; }, 5000, window))
            << Status(window);
        EXPECT_GT(Status(window).size(), prefix.size() + 2) << "and the reason";
        SetEvent(release.get());
        holder.join();
    }
    EmptyTheClipboard();
    ClickWindow(GetDlgItem(window, IDC_OCR_COPY_ALL));
    EXPECT_TRUE(PumpUntil([&] { return ClipboardText() == L"xyz" + expected; }, 5000, window));
    EXPECT_EQ(LoadedText(IDS_OCR_COPIED), Status(window));

    // Enter in the text is a new line, not the window's default button.
    SetFocus(edit);
    PressKeys({VK_CONTROL, VK_END});
    PressKeys({VK_RETURN});
    TypeText("z");
    EXPECT_TRUE(PumpUntil([&] { return TextOf(edit) == L"xyz" + expected + L"\r\nz"; }, 5000, window))
        << ToGbk(TextOf(edit));

    ClickWindow(GetDlgItem(window, IDC_OCR_CLOSE));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }, 5000, window));
}

TEST_F(TextReadingWindow, ClosedOrOrphanedWhileReadingGoesWithItsThreadAndGdiObjects)
{
    std::vector<std::wstring> page;
    for (int i = 0; i < 40; ++i)
        page.push_back(kLines[i % kLines.size()]);
    const SScreenText screen = DrawScreenText(page, 14, RGB(0, 0, 0), RGB(0xFF, 0xFF, 0xFF));
    const CBitmapOwner picture = Picture(screen);
    const std::string reading = LoadedText(IDS_OCR_READING).substr(0, 6);
    // Destroyed last, as at the program's end.
    CWindowOwner owner(CreateWindowA("STATIC", "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr));
    std::optional<size_t> gdiObjects;

    enum class Way { EscKey, CancelButton, OwnerDestroyed };
    for (Way way : {Way::CancelButton, Way::EscKey, Way::OwnerDestroyed}) {
        SCOPED_TRACE(static_cast<int>(way));
        const std::set<DWORD> before = LiveThreads();
        const HWND window = OpenTextReadingWindow(*s_engine, owner.get(), picture.get(), RECT{0, 0, 100, 100});
        ASSERT_TRUE(window);
        ASSERT_TRUE(PumpUntil([&] { return Status(window).compare(0, reading.size(), reading) == 0; }, 20000, window))
            << Status(window);
        std::set<DWORD> worker;
        for (DWORD thread : LiveThreads())
            if (!before.count(thread))
                worker.insert(thread);
        ASSERT_FALSE(worker.empty());
        if (way == Way::EscKey)
            PressKeys({VK_ESCAPE});
        else if (way == Way::CancelButton)
            ClickWindow(GetDlgItem(window, IDC_OCR_CLOSE));
        else
            owner.reset();
        if (way != Way::OwnerDestroyed) {
            EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(window); }, 5000, window));
        }
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }, 20000, window));
        EXPECT_TRUE(PumpUntil([&] { return StillLive(worker).empty(); }, 5000)) << "the worker's thread still runs";
        PumpPending();
        // The first picture shrunk to fit leaves what the system keeps for such stretching.
        if (!gdiObjects)
            gdiObjects = LiveGdiObjects();
    }
    EXPECT_EQ(*gdiObjects, LiveGdiObjects());
}

TEST_F(TextReadingWindow, NamesTheEnginesMissingFileInItsStatus)
{
    const CTempFolder folder;
    COcrEngine engine(folder.Path() + "\\");
    const SScreenText screen = DrawScreenText({kLines[0]}, 14, RGB(0, 0, 0), RGB(0xFF, 0xFF, 0xFF));
    const CBitmapOwner picture = Picture(screen);
    const HWND window = OpenTextReadingWindow(engine, nullptr, picture.get(), RECT{0, 0, 100, 100});
    ASSERT_TRUE(window);
    const std::string file = folder.PathOf("lumiocr.dll");
    EXPECT_TRUE(PumpUntil([&] { return Status(window).find(ToGbk(L"“") + file + ToGbk(L"”")) != std::string::npos; },
                          5000, window))
        << Status(window);
    EXPECT_EQ(LoadedText(IDS_OCR_CLOSE), WindowText(GetDlgItem(window, IDC_OCR_CLOSE)));
    DestroyWindow(window);
}

}  // namespace
