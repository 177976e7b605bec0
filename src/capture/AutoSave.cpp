#include "capture/AutoSave.h"

#include "imageio/ImageFormats.h"

namespace {
constexpr int kLastCopy = 9999;
}

bool AutoSaveCapture(HBITMAP bitmap, const SaveOptions& save, CaptureName& path)
{
    SYSTEMTIME now{};
    GetSystemTime(&now);
    for (int copy = 1; copy <= kLastCopy; ++copy) {
        if (!MakeAutoSavePath(now, copy, path, save))
            return false;
        // Taken names are skipped before anything is encoded; a file that appears
        // under the chosen name meanwhile makes the create-new write fail, not replace it.
        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
            continue;
        if (SaveImageFile(bitmap, save.m_nSaveType, path, CFileReplacement::kCreateNew))
            return true;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}
