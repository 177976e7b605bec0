#pragma once
#include <windows.h>

class CAnnotationTools;

// Keeps the annotation tools' choices in lumigrab.ini beside the program. A choice is
// written at once, so that none is lost to a later failure; a write that fails is
// tried again at the exit and never keeps the program from closing.
class CAnnotationToolsFile {
public:
    explicit CAnnotationToolsFile(CAnnotationTools& tools) : m_tools(tools) {}
    CAnnotationToolsFile(const CAnnotationToolsFile&) = delete;
    CAnnotationToolsFile& operator=(const CAnnotationToolsFile&) = delete;

    void Load();
    // properties: what changed (0 for the tool alone, which is not kept).
    void OnChanged(unsigned properties);
    void SaveIfPending();

private:
    CAnnotationTools& m_tools;
    char m_szPath[MAX_PATH] = {};  // empty when the program's folder gives no path
    bool m_bSaved = true;
};
