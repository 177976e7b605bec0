#pragma once
#include "document/DocumentCommands.h"
#include "document/ImageView.h"
#include "scoped/ScopedHandles.h"
#include "ui/Window.h"

// One image document's window: an MDI child whose whole client area is its image
// view, with the commands on the document as a whole. It has its own copy of the
// document menu, whose image popup carries this document's enable states and zoom
// mark. The object deletes itself after its window is gone; the document it shows
// belongs to the document list and outlives it.
class CImageFrame : public CWindow {
public:
    // Creates the MDI child in mdiClient with the title as window text, showing
    // document; null on failure (the object is then deleted already).
    static CImageFrame* Create(HWND mdiClient, const char* title, CImageDocument& document, IImageEditors& editors);

    CImageView& View() { return m_imageView; }
    CImageDocument& Document() { return m_document; }

    // Ends the text being typed, so that it counts as the document's change.
    void FinishText() { m_imageView.FinishText(); }
    // What every output takes, the text being typed included (CImageDocument::OutputImage).
    HBITMAP OutputImage(CBitmapOwner& flattened)
    {
        FinishText();
        return m_document.OutputImage(flattened);
    }
    // Whether the document may close: asks to save an image that has changes.
    bool QueryClose();
    // For the close prompt's Yes: true when closing may go on.
    bool SaveBeforeClose() { return m_commands.SaveBeforeClose(); }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Only a window that was created owns the object; after a failed creation Create
    // deletes it.
    void OnFinalMessage() override
    {
        if (m_bWindowOwnsObject)
            delete this;
    }

private:
    CImageFrame(CImageDocument& document, IImageEditors& editors)
        : m_document(document), m_imageView(document), m_commands(document, m_imageView, editors)
    {
    }
    ~CImageFrame() override;

    void OnMdiActivate(HWND activated);
    HMENU ImageMenu() const;

    bool m_bWindowOwnsObject = false;
    HWND m_hWndMDIClient = nullptr;
    CMenuOwner m_hDocMenu;
    CImageDocument& m_document;
    CImageView m_imageView;
    CDocumentCommands m_commands;
};
