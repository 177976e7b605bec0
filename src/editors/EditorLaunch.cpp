#include "editors/EditorLaunch.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "res/resource.h"
#include "ui/MainFrameHandle.h"
#include "util/AppMessageBox.h"

namespace {
std::string Quoted(const char* text)
{
    return std::string("\"") + text + "\"";
}
}

void LaunchEditor(const char* program, const char* file)
{
    const std::string quotedProgram = Quoted(program);
    const std::string quotedFile = Quoted(file);
    const HINSTANCE result =
        ShellExecuteA(nullptr, "open", quotedProgram.c_str(), quotedFile.c_str(), nullptr, SW_SHOWMAXIMIZED);
    // Values up to 32 are the shell's error codes.
    if (reinterpret_cast<INT_PTR>(result) <= 32)
        AppMessageBox(g_hMainFrame, IDS_EDITOR_START_FAILED, MB_OK | MB_ICONEXCLAMATION, program);
}
