#pragma once
#include <windows.h>

#include <functional>

#include "annotate/AnnotationSurface.h"
#include "document/AnnotationTextBox.h"
#include "ui/Window.h"

// The desk's window as the annotation controller sees it: the picture lies at the
// selection's place at 100%, and nothing of the marks is cached, so a change needs no
// more than the invalidation the controller asks for.
class CDeskSurface final : public IAnnotationSurface {
public:
    // edited runs after every edit, undo and redo.
    CDeskSurface(const CWindow& desk, std::function<void()> edited) : m_desk(desk), m_edited(std::move(edited)) {}

    // Where the picture's top-left pixel is in the window.
    void SetPictureOrigin(POINT client) { m_origin = client; }
    CAnnotationTextBox& Box() { return m_textBox; }

    CanvasMapping Mapping() const override;
    void PictureEdited() override { m_edited(); }
    void MarksChanged() override {}
    void Invalidate(const RECT* client) override;
    void CaptureMouse() override;
    void ReleaseMouse() override;
    int ScreenPixels(int pixelsAt96Dpi) const override;
    IAnnotationTextBox& TextBox() override { return m_textBox; }
    void ReportFailure(UINT messageId, DWORD error) override;

private:
    const CWindow& m_desk;
    std::function<void()> m_edited;
    POINT m_origin{};
    CAnnotationTextBox m_textBox{m_desk};
};
