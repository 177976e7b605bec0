#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "MessagePump.h"
#include "OcrEngineSuite.h"
#include "ScreenText.h"
#include "TempFolder.h"
#include "TextCompare.h"
#include "ocr/OcrEngine.h"
#include "ocr/OcrWorker.h"
#include "util/ModulePath.h"

namespace {

const std::wstring kSettings = L"设置 Settings 123";

std::wstring Joined(const std::vector<SOcrLine>& lines)
{
    std::wstring text;
    for (const SOcrLine& line : lines)
        text += (text.empty() ? L"" : L"\n") + line.text;
    return text;
}

// The line's box hugs what was drawn: its ends within slack, its top and bottom not beyond.
testing::AssertionResult BoxedAsDrawn(const RECT& box, const RECT& drawn, int slack)
{
    if (std::abs(box.left - drawn.left) <= slack && std::abs(box.right - drawn.right) <= slack &&
        box.top >= drawn.top - slack && box.bottom <= drawn.bottom + slack)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "boxed at " << box.left << ',' << box.top << '-' << box.right << ','
                                       << box.bottom << ", drawn at " << drawn.left << ',' << drawn.top << '-'
                                       << drawn.right << ',' << drawn.bottom;
}

TEST(OcrEngineFiles, NamesTheFirstMissingFileAndReadsNothingWithoutIt)
{
    const CTempFolder folder;
    const std::string base = folder.Path() + "\\";
    EXPECT_EQ(base + "lumiocr.dll", COcrEngine(base).Load().file);

    char dll[MAX_PATH];
    ASSERT_TRUE(MakeModuleFilePath("lumiocr.dll", dll));
    ASSERT_TRUE(CopyFileA(dll, folder.PathOf("lumiocr.dll").c_str(), TRUE));
    EXPECT_EQ(base + "tessdata\\chi_sim.traineddata", COcrEngine(base).Load().file);
    ASSERT_TRUE(CreateDirectoryA(folder.PathOf("tessdata").c_str(), nullptr));
    WriteFileBytes(folder.PathOf("tessdata\\chi_sim.traineddata"), "");
    COcrEngine engine(base);
    const SOcrLoadResult missing = engine.Load();
    EXPECT_EQ(EOcrLoad::MissingFile, missing.state);
    EXPECT_EQ(base + "tessdata\\eng.traineddata", missing.file);
    const DWORD pixel = 0xFFFFFF;
    std::vector<SOcrLine> lines(1);
    EXPECT_EQ(EOcrOutcome::NotLoaded, engine.Recognise(&pixel, 1, 1, EOcrPageMode::Choose, true, {}, {}, lines));
    EXPECT_TRUE(lines.empty());

    WriteFileBytes(folder.PathOf("tessdata\\eng.traineddata"), "");
    const SOcrLoadResult unusable = COcrEngine(base).Load();
    EXPECT_EQ(EOcrLoad::UnusableFile, unusable.state) << "empty language data";
    EXPECT_EQ(base + "tessdata", unusable.file);
}

using OcrReading = OcrEngineSuite;

TEST_F(OcrReading, ReadsSmallLightOnDarkScreenTextExactlyWhereThePlainEngineDoesNoBetter)
{
    const SScreenText screen = DrawScreenText({kSettings}, 14, RGB(0xDC, 0xDC, 0xDC), RGB(0x1E, 0x1E, 0x1E));
    std::vector<SOcrLine> prepared, plain;
    int lastPercent = -1;
    ASSERT_EQ(EOcrOutcome::Done,
              s_engine->Recognise(screen.pixels.data(), screen.width, screen.height, EOcrPageMode::Choose, true,
                                  {}, [&](int percent) { lastPercent = percent; }, prepared));
    EXPECT_EQ(100, lastPercent);
    ASSERT_EQ(1u, prepared.size()) << Utf8(Joined(prepared));
    EXPECT_TRUE(prepared[0].text == kSettings) << Utf8(prepared[0].text);
    EXPECT_TRUE(BoxedAsDrawn(prepared[0].box, screen.lines[0], 3));

    ASSERT_EQ(EOcrOutcome::Done, s_engine->Recognise(screen.pixels.data(), screen.width, screen.height,
                                                     EOcrPageMode::Choose, false, {}, {}, plain));
    const size_t preparedErrors = EditDistance(Joined(prepared), kSettings);
    const size_t plainErrors = EditDistance(Joined(plain), kSettings);
    std::cout << "14 px light on dark, wrong characters: prepared " << preparedErrors << ", plain engine "
              << plainErrors << " of " << kSettings.size() << '\n';
    EXPECT_LE(preparedErrors, plainErrors);
}

TEST_F(OcrReading, PlainEngineReadsEachLineInItsBoxAndReadsAgainAfterACancel)
{
    const std::vector<std::wstring> drawn = {L"Hello 2026", L"你好世界"};
    const SScreenText screen = DrawScreenText(drawn, 32, RGB(0x20, 0x20, 0x20), RGB(0xF0, 0xF0, 0xF0));
    std::vector<SOcrLine> lines(1);
    int asked = 0;
    EXPECT_EQ(EOcrOutcome::Cancelled,
              s_engine->Recognise(screen.pixels.data(), screen.width, screen.height, EOcrPageMode::Block, false,
                                  [&] { return ++asked > 0; }, {}, lines));
    EXPECT_TRUE(lines.empty());

    ASSERT_EQ(EOcrOutcome::Done, s_engine->Recognise(screen.pixels.data(), screen.width, screen.height,
                                                     EOcrPageMode::Block, false, {}, {}, lines));
    ASSERT_EQ(drawn.size(), lines.size()) << Utf8(Joined(lines));
    for (size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_TRUE(lines[i].text == drawn[i]) << Utf8(lines[i].text);
        EXPECT_TRUE(BoxedAsDrawn(lines[i].box, screen.lines[i], 4)) << "line " << i;
    }
}

TEST_F(OcrReading, ReadsEachWindowOfAScreenInItsOwnColours)
{
    const std::vector<std::wstring> dialog = {kSettings}, chat = {L"使用 Windows 10 系统"};
    const SScreenText screen =
        DrawScreenPanels(800, 600, RGB(0x3A, 0x6E, 0xA5),
                         {{{40, 40, 400, 300}, 14, RGB(0, 0, 0), RGB(0xFF, 0xFF, 0xFF), dialog},
                          {{420, 200, 780, 560}, 14, RGB(0xDC, 0xDC, 0xDC), RGB(0x1E, 0x1E, 0x1E), chat}});
    std::vector<SOcrLine> lines;
    ASSERT_EQ(EOcrOutcome::Done, s_engine->Recognise(screen.pixels.data(), screen.width, screen.height,
                                                     EOcrPageMode::Choose, true, {}, {}, lines));
    ASSERT_EQ(2u, lines.size()) << Utf8(Joined(lines));
    EXPECT_TRUE(lines[0].text == dialog[0]) << Utf8(lines[0].text);
    EXPECT_TRUE(lines[1].text == chat[0]) << Utf8(lines[1].text);
    EXPECT_TRUE(BoxedAsDrawn(lines[0].box, screen.lines[0], 3));
    EXPECT_TRUE(BoxedAsDrawn(lines[1].box, screen.lines[1], 3));
}

std::string LatinLetters(const std::wstring& text)
{
    std::string letters;
    for (const wchar_t c : text)
        if ((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'))
            letters += static_cast<char>(c);
    return letters;
}

TEST_F(OcrReading, ReadsChineseCharactersAsChineseBesideLatinLetters)
{
    const std::vector<std::wstring> drawn = {L"文件(F) 编辑(E) 查看(V) 图像(I) 帮助(H)", L"张三：今天下午三点开会",
                                             L"使用 Windows 10 系统，版本 1.4.2 (64 位)",
                                             L"文件大小：3.5 MB，共 128 页，2026年12月8日"};
    const SScreenText screen =
        DrawScreenText(drawn, 16, RGB(0xDC, 0xDC, 0xDC), RGB(0x1E, 0x1E, 0x1E), L"WenQuanYi Micro Hei Mono");
    std::vector<SOcrLine> lines;
    ASSERT_EQ(EOcrOutcome::Done, s_engine->Recognise(screen.pixels.data(), screen.width, screen.height,
                                                     EOcrPageMode::Choose, true, {}, {}, lines));
    ASSERT_EQ(drawn.size(), lines.size()) << Utf8(Joined(lines));
    for (size_t i = 0; i < drawn.size(); ++i)
        EXPECT_EQ(LatinLetters(drawn[i]), LatinLetters(lines[i].text)) << Utf8(lines[i].text);
}

// Receives the worker's messages on the test's thread, as a document window would.
class CWorkerEvents {
public:
    static constexpr UINT kMessage = WM_APP + 7;
    CWorkerEvents()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            auto* self = reinterpret_cast<CWorkerEvents*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            if (message != kMessage || !self)
                return DefWindowProcA(window, message, wParam, lParam);
            if (wParam == COcrWorker::Finished)
                ++self->finished;
            else
                self->progress.push_back(static_cast<int>(lParam));
            return 0;
        };
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "OcrWorkerEvents";
        RegisterClassA(&windowClass);
        window.reset(CreateWindowA("OcrWorkerEvents", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleA(nullptr), nullptr));
        SetWindowLongPtrA(window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    CWindowOwner window;
    int finished = 0;
    std::vector<int> progress;
};

TEST_F(OcrReading, WorkerReportsProgressAndTextIsCancelledAndMayGoWhileReading)
{
    const SScreenText screen =
        DrawScreenText({kSettings, L"使用 Windows 10 系统", L"文件(F) 编辑(E) 帮助(H)"}, 14, RGB(0, 0, 0),
                       RGB(0xFF, 0xFF, 0xFF));
    CWorkerEvents events;
    {
        COcrWorker worker(*s_engine, events.window.get(), CWorkerEvents::kMessage);
        ASSERT_TRUE(worker.Start(screen.pixels.data(), screen.width, screen.height, EOcrPageMode::Choose));
        EXPECT_FALSE(worker.Start(screen.pixels.data(), screen.width, screen.height, EOcrPageMode::Choose))
            << "one reading at a time";
        ASSERT_TRUE(PumpUntil([&] { return events.finished == 1; }, 60000));
        const SOcrResult read = worker.TakeResult();
        EXPECT_EQ(EOcrOutcome::Done, read.outcome);
        EXPECT_TRUE(read.text == kSettings + L"\r\n使用 Windows 10 系统\r\n文件(F) 编辑(E) 帮助(H)")
            << Utf8(read.text);
        EXPECT_FALSE(events.progress.empty());
        EXPECT_TRUE(std::is_sorted(events.progress.begin(), events.progress.end()));

        ASSERT_TRUE(worker.Start(screen.pixels.data(), screen.width, screen.height, EOcrPageMode::Choose));
        worker.Cancel();
        ASSERT_TRUE(PumpUntil([&] { return events.finished == 2; }, 60000));
        const SOcrResult cancelled = worker.TakeResult();
        EXPECT_EQ(EOcrOutcome::Cancelled, cancelled.outcome);
        EXPECT_TRUE(cancelled.lines.empty());

        ASSERT_TRUE(worker.Start(screen.pixels.data(), screen.width, screen.height, EOcrPageMode::Choose));
    }
    PumpPending();
    EXPECT_EQ(3, events.finished) << "the reading a destroyed worker ran still ended";
}

TEST_F(OcrReading, WaitingForAnotherThreadsReadingCanBeCancelled)
{
    std::vector<std::wstring> page;
    for (int i = 0; i < 12; ++i)
        page.insert(page.end(), {kSettings, L"使用 Windows 10 系统", L"文件(F) 编辑(E) 帮助(H)"});
    const SScreenText screen = DrawScreenText(page, 14, RGB(0, 0, 0), RGB(0xFF, 0xFF, 0xFF));
    CWorkerEvents events;
    COcrWorker worker(*s_engine, events.window.get(), CWorkerEvents::kMessage);
    ASSERT_TRUE(worker.Start(screen.pixels.data(), screen.width, screen.height, EOcrPageMode::Choose));
    ASSERT_TRUE(PumpUntil([&] { return !events.progress.empty(); }, 60000)) << "the worker's reading is under way";
    std::vector<SOcrLine> lines(1);
    EXPECT_EQ(EOcrOutcome::Cancelled, s_engine->Recognise(screen.pixels.data(), screen.width, screen.height,
                                                          EOcrPageMode::Choose, true, [] { return true; }, {}, lines));
    EXPECT_TRUE(worker.Running()) << "gave up only when the other reading had ended";
    EXPECT_TRUE(lines.empty());
}

}  // namespace
