#pragma once
#include <windows.h>

#include <string>

// The program's entry among the programs Windows starts at logon: the value Lumigrab
// under HKCU\Software\Microsoft\Windows\CurrentVersion\Run, whose data is the quoted
// path of the executable followed by /tray. The registry is the only record of it.
class CStartWithWindows {
public:
    static const char kRunKey[];
    static const char kValueName[];

    // For the executable at exePath.
    explicit CStartWithWindows(std::string exePath);
    // For this process's own executable.
    static CStartWithWindows ForThisProgram();

    // "<exePath>" /tray
    std::string Command() const;
    // Whether the value is there, whatever it names.
    bool IsOn() const;
    // Writes the value when on and it is missing or names another program (the program
    // was moved); removes it when off. ERROR_SUCCESS, or the registry's error.
    LSTATUS Apply(bool on) const;

private:
    // The value's data; false when it is missing or not a string.
    bool Read(std::string& data) const;

    std::string m_strExePath;
};
