#pragma once
#include <windows.h>

#include <functional>

#include "document/AnnotationController.h"

// The desk's window as the annotation controller sees it: the picture lies at the
// selection's place at 100%, and nothing of the marks is cached, so a change needs no
// more than the invalidation the controller makes itself.
class CDeskSurface : public IAnnotationSurface {
public:
    // edited runs after every edit, undo and redo.
    explicit CDeskSurface(std::function<void()> edited) : m_edited(std::move(edited)) {}

    void Attach(HWND window) { m_hWnd = window; }
    // Where the picture's top-left pixel is in the window.
    void SetPictureOrigin(POINT client) { m_origin = client; }

    CanvasMapping Mapping() const override
    {
        CanvasMapping mapping;
        mapping.offset = POINT{-m_origin.x, -m_origin.y};
        return mapping;
    }
    void PictureEdited() override { m_edited(); }
    void MarksChanged() override {}
    HWND Window() const override { return m_hWnd; }

private:
    std::function<void()> m_edited;
    HWND m_hWnd = nullptr;
    POINT m_origin{};
};
