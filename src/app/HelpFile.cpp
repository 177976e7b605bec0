#include "app/HelpFile.h"

#include <windows.h>
#include <shellapi.h>

#include "util/ModulePath.h"

// The record the oldest 32-bit shells expect.
static_assert(sizeof(void*) != 4 || sizeof(SHELLEXECUTEINFOA) == 60, "SHELLEXECUTEINFOA is 60 bytes on 32-bit");

void OpenHelpFile()
{
    char szPath[MAX_PATH];
    if (!MakeModuleFilePath("help.chm", szPath))
        return;
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.lpVerb = "open";
    info.lpFile = szPath;
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExA(&info);
}
