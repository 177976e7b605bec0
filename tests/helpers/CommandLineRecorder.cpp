// A stand-in editor for the end-to-end tests: writes how it was started into
// command-line.txt beside itself and ends. The first line is the show state it was
// asked for, the second its whole command line.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string record(path);
    record = record.substr(0, record.find_last_of('\\') + 1) + "command-line.txt";

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;

    if (FILE* file = std::fopen(record.c_str(), "wb")) {
        std::fprintf(file, "%d\n%s", show, GetCommandLineA());
        std::fclose(file);
    }
    return 0;
}
