#pragma once
#include "document/ImageEditors.h"
#include "editors/EditorLaunch.h"
#include "editors/EditorList.h"

// The documents' way to the editors of the user's list.
class CEditorLauncher : public IImageEditors {
public:
    explicit CEditorLauncher(const CEditorList& editors) : m_editors(editors) {}

    void OpenInEditor(int index, const char* path) override
    {
        char program[CEditorList::kTextSize];
        if (m_editors.GetAt(index, nullptr, program, nullptr))
            LaunchEditor(program, path);
    }

private:
    const CEditorList& m_editors;
};
