// Looks at the running program from outside, for a driver that types X keys into the
// display. "tool <command>" waits up to three seconds for the frame's toolbar to show
// that tool chosen and exits 0 when it does, 1 when it does not, printing the tool that
// is chosen instead; "end" ends the program.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ToolBarState.h"
#include "res/resource.h"

namespace {

constexpr DWORD kDeadlineMs = 3000;

} // namespace

int main(int argc, char** argv)
{
    const HWND frame = FindWindowA("LumigrabFrame", nullptr);
    if (!frame) {
        std::puts("no frame");
        return 1;
    }
    if (argc == 2 && std::strcmp(argv[1], "end") == 0) {
        DWORD processId = 0;
        GetWindowThreadProcessId(frame, &processId);
        const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
        const bool ended = process && TerminateProcess(process, 0) && WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
        if (process)
            CloseHandle(process);
        return ended ? 0 : 1;
    }
    if (argc != 3 || std::strcmp(argv[1], "tool") != 0)
        return 2;
    const int command = std::atoi(argv[2]);
    for (const DWORD start = GetTickCount(); GetTickCount() - start < kDeadlineMs; Sleep(20))
        if (ToolChosen(frame, command))
            return 0;
    for (int tool = ID_TOOL_HAND; tool <= ID_TOOL_CROP; ++tool)
        if (ToolChosen(frame, tool))
            std::printf("tool %d chosen\n", tool);
    return 1;
}
