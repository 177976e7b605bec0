#include "NativeShell.h"

#include <windows.h>

#include <vector>

#include "TempFolder.h"

std::string UnixPath(const std::string& windowsPath)
{
    using UnixFileName = char*(CDECL*)(const WCHAR*);
    const auto unixFileName =
        reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    std::vector<WCHAR> wide(windowsPath.size() + 1);
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    char* unixPath = unixFileName ? unixFileName(wide.data()) : nullptr;
    if (!unixPath)
        return std::string();
    std::string result = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

int RunNativeShell(const std::string& command)
{
    CTempFolder folder;
    const std::string statusPath = folder.PathOf("status");
    const std::string unixStatus = UnixPath(statusPath);
    // The status appears under its final name only once it is complete.
    std::string script = command + "\necho $? > '" + unixStatus + ".part' && mv '" + unixStatus + ".part' '" +
                         unixStatus + "'";
    std::string commandLine = "Z:\\bin\\sh -c \"" + script + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
        return -1;
    for (int waited = 0; waited < 60000; waited += 20) {
        if (GetFileAttributesA(statusPath.c_str()) != INVALID_FILE_ATTRIBUTES)
            return atoi(ReadFileBytes(statusPath).c_str());
        Sleep(20);
    }
    return -1;
}
