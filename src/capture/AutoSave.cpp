#include "capture/AutoSave.h"

#include "document/ImageFiles.h"
#include "settings/Settings.h"

namespace {
constexpr int kLastCopy = 9999;
}

bool AutoSaveCapture(HBITMAP bitmap, CaptureName& path)
{
    SYSTEMTIME now{};
    GetSystemTime(&now);
    for (int copy = 1; copy <= kLastCopy; ++copy) {
        if (!MakeAutoSavePath(now, copy, path))
            return false;
        // The first name without a file is written; should one appear there in the
        // meantime, the create-new write fails rather than replace it.
        if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
            return SaveImageFile(bitmap, g_settings.m_nSaveType, path);
    }
    return false;
}
