#include "util/UnicodeProfile.h"

#include <windows.h>

#include <string>
#include <vector>

#include "util/BinaryFile.h"
#include "util/FileReplacement.h"
#include "util/Win32Error.h"

namespace {
const char kByteOrderMark[] = "\xFF\xFE";
// Far more than a settings file holds; a larger one is not read into memory.
constexpr DWORD kLargestProfile = 1 << 20;

// The file's bytes; empty when there is no file.
std::string ReadProfile(const char* iniPath)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExA(iniPath, GetFileExInfoStandard, &attributes)) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND)
            return std::string();
        throw Vorn::CWin32Error(GetLastError());
    }
    if (attributes.nFileSizeHigh || attributes.nFileSizeLow > kLargestProfile)
        throw Vorn::CWin32Error(ERROR_FILE_TOO_LARGE);
    const DWORD size = attributes.nFileSizeLow;
    CBinaryFile file;
    file.Open(iniPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string bytes(size, '\0');
    if (size)
        file.Read(&bytes[0], size);
    return bytes;
}
}  // namespace

bool MakeProfileUnicode(const char* iniPath)
{
    try {
        const std::string ansi = ReadProfile(iniPath);
        if (ansi.compare(0, 2, kByteOrderMark) == 0)
            return true;
        std::vector<wchar_t> wide(ansi.size() + 1);
        const int length = ansi.empty() ? 0
                                        : MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                                              wide.data(), static_cast<int>(wide.size()));
        CFileReplacement replacement(iniPath, CFileReplacement::kReplaceExisting);
        CBinaryFile file(replacement.GetHandle());
        file.Write(kByteOrderMark, 2);
        if (length)
            file.Write(wide.data(), static_cast<DWORD>(length * sizeof(wchar_t)));
        replacement.Commit();
        return true;
    } catch (const Vorn::CWin32Error& error) {
        SetLastError(error.GetCode());
        return false;
    }
}
