#pragma once
#include "document/ImageView.h"
#include "scoped/ScopedHandles.h"
#include "ui/Window.h"

// One image document: an MDI child whose whole client area is its image view. It
// has its own copy of the document menu, whose image popup carries this document's
// enable states and zoom mark. The object deletes itself after its window is gone.
class CImageFrame : public CWindow {
public:
    // Creates the MDI child in mdiClient with the title as window text; null on failure
    // (the object is then deleted already).
    static CImageFrame* Create(HWND mdiClient, const char* title);

    CImageView& View() { return m_imageView; }

    // Whether the document may close: asks to save an image that was never saved.
    bool QueryClose();

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
    CImageFrame() = default;
    ~CImageFrame() override;

    void OnMdiActivate(HWND activated);
    HMENU ImageMenu() const;

    bool m_bWindowOwnsObject = false;
    HWND m_hWndMDIClient = nullptr;
    CMenuOwner m_hDocMenu;
    CImageView m_imageView;
};
