#pragma once
#include <windows.h>

class CImageDocument;
class CImageView;
class IImageEditors;

// What the document's menu does with the image as a whole: Save and Save As, Print,
// Copy and the external editors, each on the picture with the text being typed in
// it; and the window title, whose star says that the image has changes.
class CDocumentCommands {
public:
    CDocumentCommands(CImageDocument& document, CImageView& view, IImageEditors& editors)
        : m_document(document), m_view(view), m_editors(editors)
    {
    }

    // Carries out command id when it is one of these; false for any other.
    bool OnCommand(UINT id);
    // For the close prompt's Yes: true when closing may go on.
    bool SaveBeforeClose();
    // The star after the name follows the changes.
    void UpdateTitle();

private:
    HWND DocumentWindow() const;
    void Save();
    void Copy();
    void Print();
    // Hands the document's file to editor index of the list, saving it first when it
    // has changes; nothing starts while it still has them.
    void RunEditor(int index);

    CImageDocument& m_document;
    CImageView& m_view;
    IImageEditors& m_editors;
};
