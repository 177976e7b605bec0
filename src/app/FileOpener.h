#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "annotate/Annotation.h"
#include "scoped/ScopedHandles.h"

class CDocumentTabs;

// Opens image files as documents, whichever way the user names them: the Open
// dialog, files dropped on the frame, or the command line. A file that cannot be
// opened shows a message saying why, and the others still open; so does a name the
// code page cannot hold (see AnsiPathOf).
class CFileOpener {
public:
    explicit CFileOpener(CDocumentTabs& documents) : m_documents(documents) {}

    void OpenChosenFile();
    // One after the other, in their order.
    void OpenFiles(const std::vector<std::string>& paths);
    // Releases the drop before anything opens.
    void OpenDroppedFiles(HDROP drop);

private:
    void Adopt(CBitmapOwner bitmap, const char* path, std::vector<Annotation> objects);

    CDocumentTabs& m_documents;
};
