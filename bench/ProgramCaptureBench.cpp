// The real lumigrab.exe as a user meets it, measured from outside against floors built
// alike: the full-screen hotkey pressed through SendInput until the new document shows
// the screen's picture (read back from the screen), the program's CPU time for each
// capture with 100 documents open and with none, and its start until drawn and idle.
// The floors are bench/floors: one BitBlt of the screen shown in a window, an empty
// Win32 program, and between them a floor that does the window work the program cannot
// do without (its frame with bars, tabs and tray icon, hidden and shown again around a
// new maximised document), with as many documents open and at start-up: the ratios
// against it are ours, its ratios against the bare floors are Wine's. Each copy runs from a temporary folder with its own
// lumigrab.cfg, so the user's settings are never read or written.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchTools.h"
#include "ProgramRun.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"

namespace {
int g_nRounds = 9;
int g_nOpenDocuments = 100;
constexpr int kPatternSize = 32;
constexpr int kCapturesPerCpuSample = 5;
constexpr char kFrameClass[] = "LumigrabFrame";

// lumigrab.cfg: the frame hidden and shown again with no pause, no sound, no auto-save,
// the full-screen hotkey Ctrl+key (none for 0) and no interactive hotkey.
void WriteSettings(const std::string& path, UINT fullScreenKey)
{
    std::string bytes;
    for (int32_t general : {0, 0, 1, 0, 1, 0})
        Put32(bytes, general);
    const std::string prefix = "bench-";
    Put32(bytes, static_cast<int32_t>(prefix.size()));
    bytes += prefix;
    Put32(bytes, 0), Put32(bytes, 0), Put32(bytes, 0);  // no auto-save, no folder, JPEG
    Put32(bytes, fullScreenKey != 0), Put16(bytes, static_cast<uint16_t>(fullScreenKey)), Put16(bytes, HOTKEYF_CONTROL);
    Put32(bytes, 0), Put16(bytes, VK_F2), Put16(bytes, 0), Put32(bytes, 1);
    Put32(bytes, 2), Put32(bytes, 0);
    const CKernelHandleOwner file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// A small always-on-top square at the screen's top left in this round's colour: what
// every capture must show in its window.
class CPattern {
public:
    CPattern()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "BenchPattern";
        RegisterClassA(&wc);
        m_hWnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName, nullptr,
                                 WS_POPUP | WS_VISIBLE, 0, 0, kPatternSize, kPatternSize, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    }
    ~CPattern() { DestroyWindow(m_hWnd); }
    CPattern(const CPattern&) = delete;
    CPattern& operator=(const CPattern&) = delete;

    COLORREF Colour() const { return s_colour; }

    // Changes the colour and waits until the screen shows it.
    bool SetColour(COLORREF colour)
    {
        s_colour = colour;
        InvalidateRect(m_hWnd, nullptr, TRUE);
        UpdateWindow(m_hWnd);
        return WaitUntil([&] { return ScreenPixel({kPatternSize / 2, kPatternSize / 2}) == colour; }, 5000);
    }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg != WM_PAINT)
            return DefWindowProcA(hWnd, msg, wParam, lParam);
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hWnd, &paint);
        const CBrushOwner brush(CreateSolidBrush(s_colour));
        FillRect(dc, &paint.rcPaint, brush.get());
        EndPaint(hWnd, &paint);
        return 0;
    }

    static COLORREF s_colour;
    HWND m_hWnd;
};
COLORREF CPattern::s_colour = RGB(0, 0, 0);

// One running copy of lumigrab.exe with its own full-screen hotkey, placed at a
// column of its own on the screen.
class CLumigrab {
public:
    CLumigrab(const char* name, UINT hotkey, RECT place)
        : m_program(MakeTempFolder(name), "lumigrab.exe"), m_hotkey(hotkey), m_place(place)
    {
        CopyFileA((ProgramFolder() + "snapcore.dll").c_str(), (m_program.Folder() + "snapcore.dll").c_str(), FALSE);
        WriteSettings(m_program.Folder() + "lumigrab.cfg", hotkey);
    }

    // A copy started while another one runs hands over to it unless told to run on its own.
    bool Start()
    {
        if (!m_program.Start() || !(m_hFrame = m_program.WaitUntilIdle(kFrameClass))) {
            if (!m_program.HasExited() || !m_program.Start("/new") ||
                !(m_hFrame = m_program.WaitUntilIdle(kFrameClass)))
                return false;
        }
        SetWindowPos(m_hFrame, nullptr, m_place.left, m_place.top, m_place.right - m_place.left,
                     m_place.bottom - m_place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        m_hTabs = FindChild(m_hFrame, WC_TABCONTROLA);
        return WaitUntilIdle();
    }

    int Documents() const { return static_cast<int>(SendMessageA(m_hTabs, TCM_GETITEMCOUNT, 0, 0)); }

    // Waits until the program has handled everything and stopped using the processor.
    bool WaitUntilIdle()
    {
        DWORD_PTR result = 0;
        double before = -1;
        for (int calm = 0; calm < 2;) {
            if (!SendMessageTimeoutA(m_hFrame, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result))
                return false;
            const double now = ProcessCpuMs(m_program.Process());
            calm = now == before ? calm + 1 : 0;
            before = now;
            PumpFor(60);
        }
        return true;
    }

    // Presses the hotkey; the time until the document shows the pattern's colour
    // where the pattern lies in the picture, and the processor time the capture took
    // until the program was idle again. False when the picture never showed.
    bool Capture(const CPattern& pattern, double& drawnMs, double& cpuMs)
    {
        const int documents = Documents();
        const double cpu = ProcessCpuMs(m_program.Process());
        const double start = Seconds();
        PressCtrl(m_hotkey);
        // The pixel first: asking for the tabs waits while the program is busy.
        const bool shown = WaitUntil(
            [&] { return (!m_ptPattern.x || ScreenPixel(m_ptPattern) == pattern.Colour()) && Documents() > documents; },
            20000);
        drawnMs = (Seconds() - start) * 1000.0;
        if (!shown || !WaitUntilIdle())
            return false;
        cpuMs = ProcessCpuMs(m_program.Process()) - cpu;
        if (!m_ptPattern.x)
            FindPatternPoint();
        return true;
    }

    // Closes the active document without saving it, answering its question; the time
    // from the answer until the program has handled the close, when asked.
    bool CloseDocument(double* closedMs = nullptr)
    {
        const int documents = Documents();
        double ms = 0;
        if (!AnswerClose(ID_FILE_CLOSE, IDNO, documents - 1, ms))
            return false;
        if (closedMs)
            *closedMs = ms;
        return WaitUntilIdle();
    }

    // 全部关闭 answered with 全部不保存, timed the same way.
    bool CloseAllDocuments(double& closedMs)
    {
        return AnswerClose(ID_WINDOW_CLOSE_ALL, MAKEWPARAM(IDC_DISCARD_ALL, BN_CLICKED), 0, closedMs);
    }

private:
    // Sends the close command, presses answer in its question and times from there
    // until the documents left are down to left and the program has handled the close.
    bool AnswerClose(UINT command, WPARAM answer, int left, double& closedMs)
    {
        PostMessageA(m_hFrame, WM_COMMAND, command, 0);
        DWORD process = 0;
        GetWindowThreadProcessId(m_hFrame, &process);
        HWND box = nullptr;
        if (!WaitUntil([&] { return (box = FindProcessWindow(process, "#32770")) != nullptr; }, 10000))
            return false;
        const double start = Seconds();
        PostMessageA(box, WM_COMMAND, answer, 0);
        if (!WaitUntil([&] { return Documents() <= left; }, 60000))
            return false;
        DWORD_PTR result = 0;
        SendMessageTimeoutA(m_hFrame, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result);
        closedMs = (Seconds() - start) * 1000.0;
        return true;
    }

    // Where the view shows the pattern: at 100% from the picture's top left.
    void FindPatternPoint()
    {
        if (HWND view = FindChild(m_hFrame, "ImageView")) {
            m_ptPattern = {kPatternSize / 2, kPatternSize / 2};
            ClientToScreen(view, &m_ptPattern);
        }
    }

    CStartedProgram m_program;
    UINT m_hotkey;
    RECT m_place;
    HWND m_hFrame = nullptr;
    HWND m_hTabs = nullptr;
    POINT m_ptPattern{};
};

// A copy of the capture floor on a hotkey of its own: its press until the window shows
// the pattern. The frame floor ("frame" among the arguments) keeps its frame shown and
// closes each capture's document again afterwards; the bare one is hidden again.
class CCaptureFloor {
public:
    CCaptureFloor(const char* name, const std::string& arguments, UINT hotkey, RECT place)
        : m_program(MakeTempFolder(name), "CaptureFloor.exe"),
          m_arguments(arguments + " hotkey=" + std::to_string(hotkey)),
          m_bFrame(arguments.find("frame") != std::string::npos),
          m_hotkey(hotkey),
          m_place(place)
    {
    }

    bool Start()
    {
        if (!m_program.Start(m_arguments))
            return false;
        WaitForInputIdle(m_program.Process(), 60000);
        const DWORD process = GetProcessId(m_program.Process());
        const char* className = m_bFrame ? "FloorFrame" : "CaptureFloor";
        if (!WaitUntil([&] { return (m_hWnd = FindProcessWindow(process, className, false)) != nullptr; }, 60000))
            return false;
        SetWindowPos(m_hWnd, nullptr, m_place.left, m_place.top, m_place.right - m_place.left,
                     m_place.bottom - m_place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        m_hClient = FindChild(m_hWnd, "MDIClient");
        if (!m_bFrame) {
            m_ptPattern = {kPatternSize / 2, kPatternSize / 2};
            ClientToScreen(m_hWnd, &m_ptPattern);
        }
        PumpFor(200);
        return true;
    }

    bool Capture(const CPattern& pattern, double& drawnMs)
    {
        const HWND before = ActiveDocument();
        const double start = Seconds();
        PressCtrl(m_hotkey);
        const bool shown = WaitUntil(
            [&] {
                return (!m_ptPattern.x || ScreenPixel(m_ptPattern) == pattern.Colour()) &&
                       (!m_bFrame || ActiveDocument() != before);
            },
            20000);
        drawnMs = (Seconds() - start) * 1000.0;
        if (!m_bFrame) {
            ShowWindow(m_hWnd, SW_HIDE);
        } else if (shown) {
            if (!m_ptPattern.x)
                FindPatternPoint();
            DWORD_PTR result = 0;
            SendMessageTimeoutA(m_hWnd, WM_COMMAND, 1, 0, SMTO_NORMAL, 20000, &result);
        }
        PumpFor(100);
        return shown;
    }

private:
    HWND ActiveDocument() const
    {
        DWORD_PTR active = 0;
        if (m_hClient)
            SendMessageTimeoutA(m_hClient, WM_MDIGETACTIVE, 0, 0, SMTO_NORMAL, 20000, &active);
        return reinterpret_cast<HWND>(active);
    }

    void FindPatternPoint()
    {
        if (HWND view = FindChild(m_hWnd, "FloorView")) {
            m_ptPattern = {kPatternSize / 2, kPatternSize / 2};
            ClientToScreen(view, &m_ptPattern);
        }
    }

    CStartedProgram m_program;
    std::string m_arguments;
    bool m_bFrame;
    UINT m_hotkey;
    RECT m_place;
    HWND m_hWnd = nullptr;
    HWND m_hClient = nullptr;
    POINT m_ptPattern{};
};

// Start until drawn and idle, in turns with the empty program, and with the empty
// program loading the system DLLs the program imports: what Wine charges for those.
void MeasureStartup()
{
    CStartedProgram lumigrab(MakeTempFolder("start"), "lumigrab.exe");
    CopyFileA((ProgramFolder() + "snapcore.dll").c_str(), (lumigrab.Folder() + "snapcore.dll").c_str(), FALSE);
    WriteSettings(lumigrab.Folder() + "lumigrab.cfg", 0);
    CStartedProgram empty(MakeTempFolder("empty"), "EmptyProgram.exe");
    CStartedProgram frameFloor(MakeTempFolder("framestart"), "CaptureFloor.exe");
    const char* frameArguments = "frame hotkey=118";
    CSamples ours, floor, withDlls, withWindows;
    auto startOnce = [](CStartedProgram& program, const char* className, CSamples& samples, const char* arguments) {
        const double start = Seconds();
        if (program.Start(arguments) && program.WaitUntilIdle(className))
            samples.Add((Seconds() - start) * 1000.0);
        program.Stop();
        PumpFor(200);
    };
    // The first start of a copy also brings its files into the cache.
    startOnce(lumigrab, kFrameClass, ours, "");
    startOnce(empty, "EmptyProgram", floor, "dlls");
    startOnce(frameFloor, "FloorFrame", floor, frameArguments);
    ours = floor = CSamples();
    for (int round = 0; round < g_nRounds; ++round) {
        if (round % 2) {
            startOnce(lumigrab, kFrameClass, ours, "");
            startOnce(frameFloor, "FloorFrame", withWindows, frameArguments);
            startOnce(empty, "EmptyProgram", floor, "");
            startOnce(empty, "EmptyProgram", withDlls, "dlls");
        } else {
            startOnce(empty, "EmptyProgram", withDlls, "dlls");
            startOnce(empty, "EmptyProgram", floor, "");
            startOnce(frameFloor, "FloorFrame", withWindows, frameArguments);
            startOnce(lumigrab, kFrameClass, ours, "");
        }
    }
    PrintPairRatios("start-up until drawn and idle / empty program", ours, floor, 1.4);
    PrintPairRatios("  the empty program loading the same DLLs / without", withDlls, floor, 1.4);
    PrintPairRatios("  start-up / the empty program loading the same DLLs", ours, withDlls, 1.4);
    PrintPairRatios("  start-up / the floor with the same DLLs and windows", ours, withWindows, 1.4);
    PrintPairRatios("  that floor / the empty program loading the same DLLs", withWindows, withDlls, 1.4);
}
}  // namespace

// Arguments, for a quicker look: the number of rounds and of open documents.
int main(int argc, char** argv)
{
    if (argc > 2)
        g_nRounds = atoi(argv[1]), g_nOpenDocuments = atoi(argv[2]);
    std::printf("screen %dx%d, %d rounds in turns\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                g_nRounds);
    MeasureStartup();

    CPattern pattern;
    CLumigrab none("none", VK_F8, {40, 0, 460, 500});
    CLumigrab full("full", VK_F9, {470, 0, 890, 500});
    CCaptureFloor floorProgram("floor", "", VK_F7, {900, 0, 1270, 500});
    CCaptureFloor frameNone("framenone", "frame", VK_F5, {40, 510, 460, 1010});
    CCaptureFloor frameFull("framefull", "frame documents=" + std::to_string(g_nOpenDocuments), VK_F6,
                            {470, 510, 890, 1010});
    if (!none.Start() || !full.Start() || !floorProgram.Start() || !frameNone.Start() || !frameFull.Start()) {
        std::printf("the programs did not start\n");
        return 1;
    }

    // The full copy is filled by captures, each costing what it costs with the
    // documents open so far.
    CSamples filling;
    for (int document = 0; document < g_nOpenDocuments; ++document) {
        double drawnMs = 0, cpuMs = 0;
        if (!full.Capture(pattern, drawnMs, cpuMs)) {
            std::printf("capture %d did not open\n", document + 1);
            return 1;
        }
        filling.Add(cpuMs);
    }
    auto meanOf = [&](int from, int to) {
        double sum = 0;
        for (int i = from; i < to; ++i)
            sum += filling.At(static_cast<size_t>(i));
        return sum / static_cast<double>(to - from);
    };
    // The first and the last ten, fewer when fewer are opened.
    const int span = g_nOpenDocuments < 10 ? g_nOpenDocuments : 10;
    if (span > 0)
        std::printf("CPU per capture while opening %d: %.0f ms with 0-%d open, %.0f ms with %d-%d open\n",
                    g_nOpenDocuments, meanOf(0, span), span - 1, meanOf(g_nOpenDocuments - span, g_nOpenDocuments),
                    g_nOpenDocuments - span, g_nOpenDocuments - 1);

    // A first capture of the empty copy finds where its view shows the pattern; it
    // is then closed again.
    double drawnMs = 0, cpuMs = 0, closedMs = 0;
    if (!none.Capture(pattern, drawnMs, cpuMs) || !none.CloseDocument()) {
        std::printf("the first capture did not open\n");
        return 1;
    }
    CSamples floorDrawn, noneDrawn, fullDrawn, noneClosed, fullClosed, frameNoneDrawn, frameFullDrawn;
    for (int round = 0; round < g_nRounds; ++round) {
        if (!pattern.SetColour(RGB(40 + round * 20, 200 - round * 15, 90 + round * 7))) {
            std::printf("the pattern did not show\n");
            return 1;
        }
        bool fine = true;
        for (int turn = 0; turn < 5 && fine; ++turn) {
            switch ((round + turn) % 5) {
            case 0:
                fine = floorProgram.Capture(pattern, drawnMs);
                floorDrawn.Add(drawnMs);
                break;
            case 1:
                fine = none.Capture(pattern, drawnMs, cpuMs) && none.CloseDocument(&closedMs);
                noneDrawn.Add(drawnMs);
                noneClosed.Add(closedMs);
                break;
            case 2:
                fine = full.Capture(pattern, drawnMs, cpuMs) && full.CloseDocument(&closedMs);
                fullDrawn.Add(drawnMs);
                fullClosed.Add(closedMs);
                break;
            case 3:
                fine = frameNone.Capture(pattern, drawnMs);
                frameNoneDrawn.Add(drawnMs);
                break;
            case 4:
                fine = frameFull.Capture(pattern, drawnMs);
                frameFullDrawn.Add(drawnMs);
                break;
            }
        }
        if (!fine) {
            std::printf("round %d: a capture did not show\n", round + 1);
            return 1;
        }
    }
    PrintPairRatios("hotkey until drawn, pause 0 / BitBlt floor", noneDrawn, floorDrawn, 1.3);
    char what[64];
    std::snprintf(what, sizeof what, "the same with %d documents open / with none", g_nOpenDocuments);
    PrintPairRatios(what, fullDrawn, noneDrawn, 1.1);
    PrintPairRatios("  hotkey until drawn / the floor with the same windows", noneDrawn, frameNoneDrawn, 1.3);
    PrintPairRatios("  that floor / BitBlt floor", frameNoneDrawn, floorDrawn, 1.3);
    std::snprintf(what, sizeof what, "  the same-windows floor with %d documents / with none", g_nOpenDocuments);
    PrintPairRatios(what, frameFullDrawn, frameNoneDrawn, 1.1);
    std::snprintf(what, sizeof what, "  %d documents open / that floor with as many", g_nOpenDocuments);
    PrintPairRatios(what, fullDrawn, frameFullDrawn, 1.3);
    std::snprintf(what, sizeof what, "closing a document with %d others open / alone", g_nOpenDocuments);
    PrintPairRatios(what, fullClosed, noneClosed, 1.1);

    // Wine counts a process's time in clock ticks of 10 ms, so each sample is the
    // time of several captures, the closing of their documents left out.
    CSamples noneCpuTotals, fullCpuTotals;
    for (int round = 0; round < g_nRounds; ++round) {
        for (CLumigrab* program : {&none, &full}) {
            double total = 0;
            for (int i = 0; i < kCapturesPerCpuSample; ++i) {
                if (!program->Capture(pattern, drawnMs, cpuMs) || !program->CloseDocument()) {
                    std::printf("a capture for the processor time did not show\n");
                    return 1;
                }
                total += cpuMs;
            }
            (program == &none ? noneCpuTotals : fullCpuTotals).Add(total / kCapturesPerCpuSample);
        }
    }
    std::snprintf(what, sizeof what, "CPU per capture with %d documents / with none", g_nOpenDocuments);
    PrintPairRatios(what, fullCpuTotals, noneCpuTotals, 1.2);

    const int documents = full.Documents();
    if (!full.CloseAllDocuments(closedMs)) {
        std::printf("closing all documents did not finish\n");
        return 1;
    }
    std::printf("closing all %d documents: %.0f ms, %.1f ms each\n", documents, closedMs, closedMs / documents);
    return 0;
}
