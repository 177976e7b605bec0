#include "document/DocumentCommands.h"

#include "document/DocumentMessages.h"
#include "document/DocumentTitle.h"
#include "document/ImageClipboard.h"
#include "document/ImageDocument.h"
#include "document/ImagePrinter.h"
#include "document/ImageView.h"
#include "res/resource.h"
#include "ui/MainFrameHandle.h"
#include "util/CharSearch.h"

bool CDocumentCommands::OnCommand(UINT id)
{
    const bool editor = id >= ID_EDITOR_FIRST && id <= ID_EDITOR_LAST;
    if (!editor && id != ID_FILE_SAVE && id != ID_FILE_SAVE_AS && id != ID_EDIT_COPY && id != ID_FILE_PRINT)
        return false;
    // Every output takes the text being typed as a mark.
    m_view.FinishText();
    if (editor)
        RunEditor(static_cast<int>(id - ID_EDITOR_FIRST));
    else if (id == ID_EDIT_COPY)
        Copy();
    else if (id == ID_FILE_PRINT)
        Print();
    else
        Save();
    return true;
}

HWND CDocumentCommands::DocumentWindow() const
{
    return GetParent(m_view.Handle());
}

void CDocumentCommands::Copy()
{
    CBitmapOwner flattened;
    CopyImageOrReport(m_document.OutputImage(flattened), m_view.Handle());
}

// The job is named after the image as its tab names it.
void CDocumentCommands::Print()
{
    CBitmapOwner flattened;
    HBITMAP output = m_document.OutputImage(flattened);
    char name[MAX_PATH];
    ReadDocumentName(DocumentWindow(), name);
    PrintImage(g_hMainFrame, output, FileNamePart(name));
}

// Save and Save As alike: the Save As dialog, then the new name for a modified image.
void CDocumentCommands::Save()
{
    char path[MAX_PATH];
    ReadDocumentName(DocumentWindow(), path);
    const bool renames = m_document.IsModified();
    if (!m_document.SaveAs(path) || !renames)
        return;
    HWND document = DocumentWindow();
    SetWindowTextA(document, path);
    SendMessageA(GetParent(document), WM_APP_DOC_PATH_CHANGED, reinterpret_cast<WPARAM>(document),
                 reinterpret_cast<LPARAM>(path));
    m_view.UpdateCommandUI();
}

void CDocumentCommands::RunEditor(int index)
{
    if (m_document.IsModified()) {
        Save();
        if (m_document.IsModified())
            return;
    }
    m_document.OpenInEditor(m_editors, index);
}

bool CDocumentCommands::SaveBeforeClose()
{
    m_view.FinishText();
    if (!m_document.IsModified())
        return true;
    char path[MAX_PATH];
    ReadDocumentName(DocumentWindow(), path);
    return m_document.SaveAs(path);
}

void CDocumentCommands::UpdateTitle()
{
    HWND document = DocumentWindow();
    char name[MAX_PATH];
    ReadDocumentName(document, name);
    char title[MAX_PATH + 1];
    lstrcpynA(title, name, MAX_PATH);
    if (m_view.HasChanges())
        lstrcatA(title, "*");
    char shown[MAX_PATH + 1];
    GetWindowTextA(document, shown, sizeof(shown));
    if (lstrcmpA(shown, title) == 0)
        return;
    SetWindowTextA(document, title);
    SendMessageA(GetParent(document), WM_APP_DOC_PATH_CHANGED, reinterpret_cast<WPARAM>(document),
                 reinterpret_cast<LPARAM>(title));
}
