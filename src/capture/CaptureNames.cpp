#include "capture/CaptureNames.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "imageio/ImageFormats.h"

int32_t g_nCaptureCount = 0;

namespace {
constexpr int kFileNameSize = 128;

template <size_t size>
bool Format(char (&buffer)[size], const char* format, ...) __attribute__((format(printf, 2, 3)));

template <size_t size>
bool Format(char (&buffer)[size], const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(buffer, size, format, args);
    va_end(args);
    return length >= 0 && static_cast<size_t>(length) < size;
}

// Whether the folder text ends in a backslash of its own, not in the trail byte of a
// double-byte character that happens to be 0x5C.
bool EndsInBackslash(const std::string& folder)
{
    const char* end = folder.c_str() + folder.size();
    return !folder.empty() && *CharPrevA(folder.c_str(), end) == '\\';
}
}  // namespace

void MakeUnsavedCaptureName(CaptureName& name, const SaveOptions& save)
{
    Format(name, "%s%d*", save.m_strNamePrefix.c_str(), g_nCaptureCount);
}

bool MakeAutoSavePath(const SYSTEMTIME& time, int copy, CaptureName& path, const SaveOptions& save,
                      const char* extension)
{
    const std::string& folder = save.m_strSaveFolder;
    const int type = save.m_nSaveType;
    if (folder.empty() || (!extension && (type < 0 || type >= kImageFormatCount)))
        return false;

    char copySuffix[16] = "";
    if (copy > 1)
        Format(copySuffix, "-%d", copy);
    char fileName[kFileNameSize];
    if (!Format(fileName, "%s%d%d%d%d%d%d%s.%s", save.m_strNamePrefix.c_str(), time.wYear, time.wMonth,
                time.wDay, time.wHour, time.wMinute, time.wSecond, copySuffix,
                extension ? extension : g_imageFormats[type].extension))
        return false;
    const char* separator = EndsInBackslash(folder) ? "" : "\\";
    return Format(path, "%s%s%s", folder.c_str(), separator, fileName);
}

namespace {
// The folder of the recordings being made and played: "Lumigrab" in the temporary folder.
std::string RecordingTempFolder()
{
    char temporary[MAX_PATH];
    const DWORD length = GetTempPathA(MAX_PATH, temporary);
    return length == 0 || length >= MAX_PATH ? std::string() : std::string(temporary) + "Lumigrab";
}
}  // namespace

bool MakeRecordingTempPath(const SaveOptions& save, CaptureName& path)
{
    SaveOptions inTemporary = save;
    inTemporary.m_strSaveFolder = RecordingTempFolder();
    if (inTemporary.m_strSaveFolder.empty())
        return false;
    if (!CreateDirectoryA(inTemporary.m_strSaveFolder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    SYSTEMTIME now{};
    GetSystemTime(&now);
    for (int copy = 1; copy <= 9999; ++copy) {
        if (!MakeAutoSavePath(now, copy, path, inTemporary, "gif")) {
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
            return false;
        }
        if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
            return true;
    }
    SetLastError(ERROR_FILE_EXISTS);
    return false;
}

void RemoveStaleRecordings()
{
    const std::string folder = RecordingTempFolder();
    WIN32_FIND_DATAA found{};
    const HANDLE search = folder.empty() ? INVALID_HANDLE_VALUE : FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) { return uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime; };
    constexpr uint64_t kDay = 24ull * 60 * 60 * 10000000;
    do {
        // One that cannot go (open in a player, say) is left for the next start.
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && ticks(now) - ticks(found.ftLastWriteTime) > kDay)
            DeleteFileA((folder + "\\" + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}
