#include "e2e/ProgramUnderTest.h"

#include <commctrl.h>
#include <dlgs.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include <gtest/gtest.h>

#include "Gbk.h"
#include "RealClick.h"
#include "imageio/ImageFormats.h"
#include "util/ModulePath.h"

const char CProgramUnderTest::kFrameClass[] = "LumigrabFrame";

std::string BesideTestProgram(const char* fileName)
{
    char path[MAX_PATH] = {};
    return MakeModuleFilePath(fileName, path) ? path : "";
}

namespace {
void Put32(std::string& bytes, int32_t value) { bytes.append(reinterpret_cast<const char*>(&value), 4); }
void Put16(std::string& bytes, uint16_t value) { bytes.append(reinterpret_cast<const char*>(&value), 2); }
}  // namespace

void WriteCaptureSettings(const std::string& path, bool autoSave, const std::string& folder, int saveType,
                          int32_t pauseMs, bool includeCursor)
{
    std::string bytes;
    for (int32_t general : {0, includeCursor ? 1 : 0, 1, pauseMs, 1, 1})
        Put32(bytes, general);
    const std::string prefix = ToGbk("快照-");
    Put32(bytes, static_cast<int32_t>(prefix.size()));
    bytes += prefix;
    Put32(bytes, autoSave);
    Put32(bytes, static_cast<int32_t>(folder.size()));
    bytes += folder;
    Put32(bytes, saveType);
    Put32(bytes, 1), Put16(bytes, VK_F8), Put16(bytes, HOTKEYF_CONTROL);
    Put32(bytes, 1), Put16(bytes, VK_F2), Put16(bytes, 0), Put32(bytes, 1);
    Put32(bytes, 2), Put32(bytes, 0);
    WriteFileBytes(path, bytes);
}

bool WriteBlankImage(const std::string& path, int width, int height, int formatCode)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    const bool written = SaveImageFile(bitmap, formatCode, path.c_str());
    DeleteObject(bitmap);
    return written;
}

bool TrayIconShown(HWND frame)
{
    NOTIFYICONDATAA probe{};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = frame;
    probe.uID = 1;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

CProgramUnderTest::CProgramUnderTest(Engine engine)
{
    CopyFileA(BesideTestProgram("lumigrab.exe").c_str(), PathOf("lumigrab.exe").c_str(), FALSE);
    if (engine == Engine::Present)
        CopyFileA(BesideTestProgram("snapcore.dll").c_str(), PathOf("snapcore.dll").c_str(), FALSE);
}

CProgramUnderTest::~CProgramUnderTest()
{
    if (m_process.hProcess) {
        if (IsRunning()) {
            TerminateProcess(m_process.hProcess, 99);
            WaitForSingleObject(m_process.hProcess, 5000);
        }
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
}

void CProgramUnderTest::ClickDeskAction(int command) const
{
    HWND bar = FindWindowExA(FindWindowA("LumigrabCaptureDesk", nullptr), nullptr, "LumigrabDeskToolBar", nullptr);
    HWND actions = nullptr;
    for (HWND child = GetWindow(bar, GW_CHILD); child && !actions; child = GetWindow(child, GW_HWNDNEXT))
        if (SendMessageA(child, TB_COMMANDTOINDEX, static_cast<WPARAM>(command), 0) >= 0)
            actions = child;
    ASSERT_NE(nullptr, actions) << "no button for " << command;
    ClickInWindow(actions, ToolBarButtonRect(actions, command));
}

bool CProgramUnderTest::AddTextEngine() const
{
    bool copied = CreateDirectoryA(PathOf("tessdata").c_str(), nullptr) != FALSE;
    for (const char* file : {"lumiocr.dll", "tessdata\\chi_sim.traineddata", "tessdata\\eng.traineddata"})
        copied = copied && CopyFileA(BesideTestProgram(file).c_str(), PathOf(file).c_str(), FALSE);
    return copied;
}

std::string CProgramUnderTest::PathOf(const char* fileName) const { return m_folder.PathOf(fileName); }

bool CProgramUnderTest::Start(const std::string& arguments)
{
    std::string exe = PathOf("lumigrab.exe");
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    // Started from a neutral folder: the program must find its files by its own path.
    return CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, "C:\\",
                          &startup, &m_process) != 0;
}

bool CProgramUnderTest::IsRunning() const
{
    return m_process.hProcess && WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
}

bool CProgramUnderTest::WaitForExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (!PumpUntil([this] { return !IsRunning(); }, timeoutMs))
        return false;
    return GetExitCodeProcess(m_process.hProcess, exitCode) != 0;
}

bool CProgramUnderTest::CloseLettingCapturesGo(HWND frame) const
{
    PostMessageA(frame, WM_CLOSE, 0, 0);
    return PumpUntil(
        [&] {
            if (HWND prompt = FindWindow("#32770"))
                PressButton(prompt, IDNO);
            return !IsRunning();
        },
        20000);
}

std::vector<HWND> CProgramUnderTest::TopLevelWindows(bool hiddenToo) const
{
    struct Search {
        DWORD processId;
        bool hiddenToo;
        std::vector<HWND> windows;
    } search{m_process.dwProcessId, hiddenToo, {}};
    EnumWindows(
        [](HWND hWnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(hWnd, &owner);
            if (owner == s->processId && (s->hiddenToo || IsWindowVisible(hWnd)))
                s->windows.push_back(hWnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

HWND CProgramUnderTest::FindWindow(const char* className, const char* title) const
{
    for (HWND hWnd : TopLevelWindows())
        if (WindowClass(hWnd) == className && (!title || WindowText(hWnd) == title))
            return hWnd;
    return nullptr;
}

HWND CProgramUnderTest::WaitForWindow(const char* className, DWORD timeoutMs, const char* title) const
{
    HWND found = nullptr;
    PumpUntil([&] { return (found = FindWindow(className, title)) != nullptr; }, timeoutMs);
    return found;
}

HWND CProgramUnderTest::HiddenMainFrame(DWORD timeoutMs) const
{
    HWND found = nullptr;
    PumpUntil(
        [&] {
            for (HWND hWnd : TopLevelWindows(true))
                if (WindowClass(hWnd) == kFrameClass)
                    found = hWnd;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

bool CProgramUnderTest::PressButton(HWND dialog, int buttonId, DWORD timeoutMs)
{
    HWND button = GetDlgItem(dialog, buttonId);
    if (!button)
        return false;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return PumpUntil([dialog] { return !IsWindow(dialog); }, timeoutMs);
}

void CProgramUnderTest::PostCommand(HWND window, int commandId)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
}

namespace {
// A block of memory inside another process, freed when the object goes.
class CRemoteBlock {
public:
    CRemoteBlock(HANDLE process, size_t size)
        : m_process(process), m_address(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE))
    {
    }
    ~CRemoteBlock()
    {
        if (m_address)
            VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
    }
    CRemoteBlock(const CRemoteBlock&) = delete;
    CRemoteBlock& operator=(const CRemoteBlock&) = delete;

    char* Address() const { return static_cast<char*>(m_address); }
    void Write(size_t offset, const void* data, size_t size) const
    {
        WriteProcessMemory(m_process, Address() + offset, data, size, nullptr);
    }
    std::string ReadText(size_t offset, size_t size) const
    {
        std::string text(size, '\0');
        ReadProcessMemory(m_process, Address() + offset, &text[0], size, nullptr);
        text.resize(strnlen(text.c_str(), size));
        return text;
    }

private:
    HANDLE m_process;
    void* m_address;
};

constexpr size_t kTextSize = 512;
}

std::string CProgramUnderTest::StatusPaneText(HWND statusBar, int part) const
{
    CRemoteBlock block(m_process.hProcess, kTextSize);
    SendMessageA(statusBar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(block.Address()));
    return block.ReadText(0, kTextSize);
}

std::string CProgramUnderTest::TabText(HWND tabStrip, int index) const
{
    CRemoteBlock block(m_process.hProcess, sizeof(TCITEMA) + kTextSize);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = block.Address() + sizeof(TCITEMA);
    item.cchTextMax = kTextSize;
    block.Write(0, &item, sizeof item);
    SendMessageA(tabStrip, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(block.Address()));
    return block.ReadText(sizeof(TCITEMA), kTextSize);
}

RECT CProgramUnderTest::ToolBarButtonRect(HWND toolBar, int command) const
{
    CRemoteBlock block(m_process.hProcess, sizeof(RECT));
    const LRESULT index = SendMessageA(toolBar, TB_COMMANDTOINDEX, static_cast<WPARAM>(command), 0);
    SendMessageA(toolBar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(block.Address()));
    RECT rect{};
    ReadProcessMemory(m_process.hProcess, block.Address(), &rect, sizeof rect, nullptr);
    return rect;
}

void CProgramUnderTest::SetFileNameBox(HWND dialog, const std::string& text)
{
    HWND box = GetDlgItem(dialog, cmb13);
    HWND edit = FindWindowExA(FindWindowExA(box, nullptr, "ComboBox", nullptr), nullptr, "Edit", nullptr);
    SendMessageA(edit ? edit : box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string CProgramUnderTest::FileNameBox(HWND dialog)
{
    return WindowText(GetDlgItem(dialog, cmb13));
}

void CProgramUnderTest::DropFiles(HWND window, const std::vector<std::string>& paths) const
{
    DROPFILES header{};
    header.pFiles = sizeof header;
    std::string block(reinterpret_cast<const char*>(&header), sizeof header);
    for (const std::string& path : paths)
        block += path + '\0';
    block += '\0';
    void* remote = VirtualAllocEx(m_process.hProcess, nullptr, block.size(), MEM_COMMIT, PAGE_READWRITE);
    WriteProcessMemory(m_process.hProcess, remote, block.data(), block.size(), nullptr);
    PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}
