#include "settings/StartWithWindows.h"

#include <utility>

const char CStartWithWindows::kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char CStartWithWindows::kValueName[] = "Lumigrab";

CStartWithWindows::CStartWithWindows(std::string exePath) : m_strExePath(std::move(exePath)) {}

CStartWithWindows CStartWithWindows::ForThisProgram()
{
    char path[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return CStartWithWindows(length < MAX_PATH ? std::string(path, length) : std::string());
}

std::string CStartWithWindows::Command() const { return "\"" + m_strExePath + "\" /tray"; }

bool CStartWithWindows::IsOn() const
{
    return RegGetValueA(HKEY_CURRENT_USER, kRunKey, kValueName, RRF_RT_ANY, nullptr, nullptr, nullptr)
           == ERROR_SUCCESS;
}

bool CStartWithWindows::Read(std::string& data) const
{
    DWORD size = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, kRunKey, kValueName, RRF_RT_REG_SZ, nullptr, nullptr, &size)
            != ERROR_SUCCESS
        || size == 0)
        return false;
    data.assign(size, '\0');
    if (RegGetValueA(HKEY_CURRENT_USER, kRunKey, kValueName, RRF_RT_REG_SZ, nullptr, &data[0], &size)
        != ERROR_SUCCESS)
        return false;
    data.resize(size ? size - 1 : 0);
    return true;
}

LSTATUS CStartWithWindows::Apply(bool on) const
{
    if (!on) {
        const LSTATUS status = RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, kValueName);
        return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
    }
    // A path that did not fit would start nothing at logon.
    if (m_strExePath.empty())
        return ERROR_FILENAME_EXCED_RANGE;
    const std::string command = Command();
    std::string current;
    if (Read(current) && current == command)
        return ERROR_SUCCESS;
    return RegSetKeyValueA(HKEY_CURRENT_USER, kRunKey, kValueName, REG_SZ, command.c_str(),
                           static_cast<DWORD>(command.size() + 1));
}
