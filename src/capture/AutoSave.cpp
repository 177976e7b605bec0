#include "capture/AutoSave.h"

#include <functional>

#include "imageio/ImageFormats.h"
#include "util/FileCopy.h"

namespace {
constexpr int kLastCopy = 9999;

// write(path) creates the file only where none is (CFileReplacement::kCreateNew).
bool SaveUnderFreeName(const SaveOptions& save, const char* extension, CaptureName& path,
                       const std::function<bool(const char*)>& write)
{
    SYSTEMTIME now{};
    GetSystemTime(&now);
    for (int copy = 1; copy <= kLastCopy; ++copy) {
        if (!MakeAutoSavePath(now, copy, path, save, extension))
            return false;
        // Taken names are skipped before anything is encoded; a file that appears
        // under the chosen name meanwhile makes the create-new write fail, not replace it.
        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
            continue;
        if (write(path))
            return true;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}
}  // namespace

bool AutoSaveCapture(HBITMAP bitmap, const SaveOptions& save, CaptureName& path)
{
    return SaveUnderFreeName(save, nullptr, path, [&](const char* target) {
        return SaveImageFile(bitmap, save.m_nSaveType, target, CFileReplacement::kCreateNew);
    });
}

bool AutoSaveRecording(const char* recording, const SaveOptions& save, CaptureName& path)
{
    return SaveUnderFreeName(save, "gif", path, [&](const char* target) {
        return CopyFileReplacing(recording, target, CFileReplacement::kCreateNew);
    });
}
