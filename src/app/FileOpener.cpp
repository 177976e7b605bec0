#include "app/FileOpener.h"

#include "app/DocumentTabs.h"
#include "document/ImageFileDialogs.h"
#include "res/resource.h"
#include "ui/MainFrameHandle.h"
#include "util/AnsiPath.h"
#include "util/AppMessageBox.h"

void CFileOpener::OpenChosenFile()
{
    char path[MAX_PATH + 1] = {};
    std::vector<Annotation> objects;
    CBitmapOwner bitmap(OpenImageFile(path, &objects));
    Adopt(std::move(bitmap), path, std::move(objects));
}

void CFileOpener::OpenFiles(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        // Opening it would say only that no such file exists.
        if (HasUnusableName(path.c_str())) {
            AppMessageBox(g_hMainFrame, IDS_UNUSABLE_FILE_NAME, MB_ICONHAND, path.c_str());
            continue;
        }
        std::vector<Annotation> objects;
        CBitmapOwner bitmap(OpenImagePath(path.c_str(), &objects));
        Adopt(std::move(bitmap), path.c_str(), std::move(objects));
    }
}

// The names are taken and the drop released first: a file that fails shows a
// message, and the drop's memory need not outlive it.
void CFileOpener::OpenDroppedFiles(HDROP drop)
{
    std::vector<std::string> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
        // Sized by the name itself: a cut name would open another file, or none.
        const UINT length = DragQueryFileW(drop, index, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        path.resize(DragQueryFileW(drop, index, &path[0], length + 1));
        if (!path.empty())
            paths.push_back(AnsiPathOf(path.c_str()));
    }
    DragFinish(drop);
    OpenFiles(paths);
}

// A bitmap that was read (null when reading failed and said so) becomes a saved
// document, with the marks its file kept.
void CFileOpener::Adopt(CBitmapOwner bitmap, const char* path, std::vector<Annotation> objects)
{
    if (bitmap)
        m_documents.CreateImageDocument(std::move(bitmap), path, true, std::move(objects));
}
