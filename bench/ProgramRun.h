#pragma once
// What the benchmarks that run the real program share: its copy in a folder of its own,
// started and stopped, its windows found from outside, input pressed and waited for.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "BenchTools.h"
#include "scoped/ScopedHandles.h"

inline std::string ProgramFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

inline std::string MakeTempFolder(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "lumigrab-bench-" + std::to_string(GetCurrentProcessId()) + "-" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

inline void Put32(std::string& bytes, int32_t value) { bytes.append(reinterpret_cast<const char*>(&value), 4); }
inline void Put16(std::string& bytes, uint16_t value) { bytes.append(reinterpret_cast<const char*>(&value), 2); }

inline void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

// Polls until done says so, handling this thread's windows meanwhile; false at the deadline.
inline bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const double deadline = Seconds() + timeoutMs / 1000.0;
    while (!done()) {
        if (Seconds() > deadline)
            return false;
        Pump();
        Sleep(1);
    }
    return true;
}

inline void PumpFor(DWORD ms)
{
    WaitUntil([] { return false; }, ms);
}

inline COLORREF ScreenPixel(POINT at)
{
    const CScreenDC screen;
    return GetPixel(screen, at.x, at.y) & 0xFFFFFF;
}

inline void PressCtrl(UINT key)
{
    INPUT keys[4] = {};
    const WORD codes[4] = {VK_CONTROL, static_cast<WORD>(key), static_cast<WORD>(key), VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
        keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, keys, sizeof(INPUT));
}

inline double ProcessCpuMs(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

struct WindowSearch {
    DWORD process;
    const char* className;
    bool visibleOnly;
    HWND found;
};

// The top-level window of the class that belongs to the process.
inline HWND FindProcessWindow(DWORD process, const char* className, bool visibleOnly = true)
{
    WindowSearch search{process, className, visibleOnly, nullptr};
    EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<WindowSearch*>(lParam);
            DWORD owner = 0;
            GetWindowThreadProcessId(hWnd, &owner);
            char name[64] = "";
            GetClassNameA(hWnd, name, sizeof name);
            if (owner != s->process || lstrcmpA(name, s->className) != 0 || (s->visibleOnly && !IsWindowVisible(hWnd)))
                return TRUE;
            s->found = hWnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline HWND FindChild(HWND parent, const char* className)
{
    WindowSearch search{0, className, true, nullptr};
    EnumChildWindows(
        parent,
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<WindowSearch*>(lParam);
            char name[64] = "";
            GetClassNameA(hWnd, name, sizeof name);
            if (lstrcmpA(name, s->className) != 0 || !IsWindowVisible(hWnd))
                return TRUE;
            s->found = hWnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A copy of a program in a folder of its own, running until the object goes.
class CStartedProgram {
public:
    CStartedProgram(const std::string& folder, const char* exe) : m_folder(folder), m_exe(exe)
    {
        CopyFileA((ProgramFolder() + exe).c_str(), (folder + exe).c_str(), FALSE);
    }
    ~CStartedProgram() { Stop(); }
    CStartedProgram(const CStartedProgram&) = delete;
    CStartedProgram& operator=(const CStartedProgram&) = delete;

    const std::string& Folder() const { return m_folder; }
    HANDLE Process() const { return m_process.hProcess; }

    bool Start(const std::string& arguments = "")
    {
        std::string command = "\"" + m_folder + m_exe + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        return CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, m_folder.c_str(), &startup,
                              &m_process) != FALSE;
    }

    // Its first moment with nothing to handle and nothing to paint, then its window.
    HWND WaitUntilIdle(const char* className)
    {
        WaitForInputIdle(m_process.hProcess, 20000);
        HWND window = nullptr;
        WaitUntil([&] { return (window = FindProcessWindow(m_process.dwProcessId, className)) != nullptr; }, 20000);
        return window;
    }

    bool HasExited() const { return WaitForSingleObject(m_process.hProcess, 0) == WAIT_OBJECT_0; }

    void Stop()
    {
        if (!m_process.hProcess)
            return;
        EnumThreadWindows(
            m_process.dwThreadId,
            [](HWND hWnd, LPARAM) -> BOOL {
                PostMessageA(hWnd, WM_CLOSE, 0, 0);
                return TRUE;
            },
            0);
        if (WaitForSingleObject(m_process.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(m_process.hProcess, 1);
        CloseHandle(m_process.hProcess);
        CloseHandle(m_process.hThread);
        m_process = {};
    }

private:
    std::string m_folder;
    const char* m_exe;
    PROCESS_INFORMATION m_process{};
};

