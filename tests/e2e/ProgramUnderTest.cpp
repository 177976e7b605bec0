#include "e2e/ProgramUnderTest.h"

#include <cstdio>

const char CProgramUnderTest::kFrameClass[] = "LumigrabFrame";

namespace {
// The folder of this test program; the build puts lumigrab.exe and snapcore.dll there.
std::string BuildOutputFolder()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string MakeTemporaryFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    for (unsigned attempt = 0;; ++attempt) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%slumigrab-e2e-%lu-%u\\", temp, GetCurrentProcessId(), attempt);
        if (CreateDirectoryA(name, nullptr))
            return name;
    }
}

void DeleteFolder(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteFolder(folder + name + "\\");
            else
                DeleteFileA((folder + name).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(20);
    }
}

std::string WindowText(HWND hWnd)
{
    char text[1024] = "";
    // WM_GETTEXT crosses process boundaries, GetWindowText does not for controls.
    SendMessageTimeoutA(hWnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, nullptr);
    return text;
}

std::string WindowClass(HWND hWnd)
{
    char name[256] = "";
    GetClassNameA(hWnd, name, sizeof name);
    return name;
}

CProgramUnderTest::CProgramUnderTest(Engine engine) : m_folder(MakeTemporaryFolder())
{
    std::string from = BuildOutputFolder();
    CopyFileA((from + "lumigrab.exe").c_str(), PathOf("lumigrab.exe").c_str(), FALSE);
    if (engine == Engine::Present)
        CopyFileA((from + "snapcore.dll").c_str(), PathOf("snapcore.dll").c_str(), FALSE);
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
    DeleteFolder(m_folder);
}

std::string CProgramUnderTest::PathOf(const char* fileName) const { return m_folder + fileName; }

bool CProgramUnderTest::Start()
{
    std::string exe = PathOf("lumigrab.exe");
    std::string commandLine = "\"" + exe + "\"";
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
    if (!WaitUntil([this] { return !IsRunning(); }, timeoutMs))
        return false;
    return GetExitCodeProcess(m_process.hProcess, exitCode) != 0;
}

std::vector<HWND> CProgramUnderTest::TopLevelWindows() const
{
    struct Search {
        DWORD processId;
        std::vector<HWND> windows;
    } search{m_process.dwProcessId, {}};
    EnumWindows(
        [](HWND hWnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(hWnd, &owner);
            if (owner == s->processId && IsWindowVisible(hWnd))
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
    WaitUntil([&] { return (found = FindWindow(className, title)) != nullptr; }, timeoutMs);
    return found;
}

std::string CProgramUnderTest::MessageBoxText(HWND box)
{
    // The text is the one static control that is not an icon.
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (WindowClass(child) != "Static" || (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            continue;
        text = WindowText(child);
        if (!text.empty())
            break;
    }
    return text;
}

bool CProgramUnderTest::PressButton(HWND dialog, int buttonId, DWORD timeoutMs)
{
    HWND button = GetDlgItem(dialog, buttonId);
    if (!button)
        return false;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return WaitUntil([dialog] { return !IsWindow(dialog); }, timeoutMs);
}

void CProgramUnderTest::PostCommand(HWND window, int commandId)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
}
