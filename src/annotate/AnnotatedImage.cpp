#include "annotate/AnnotatedImage.h"

#include <algorithm>

#include "imageio/TopDownDib.h"

void CAnnotatedImage::Reset(HBITMAP bitmap, std::vector<Annotation> objects)
{
    m_bitmap.reset(bitmap);
    m_objects = std::move(objects);
    m_history.Clear();
    m_bLastChangeKnown = false;
}

SIZE CAnnotatedImage::Size() const
{
    BITMAP info{};
    if (!m_bitmap || !GetObjectA(m_bitmap.get(), sizeof(info), &info))
        return SIZE{};
    return SIZE{info.bmWidth, info.bmHeight};
}

void CAnnotatedImage::Execute(CAnnotationEdit edit)
{
    if (edit.IsEmpty())
        return;
    m_bLastChangeKnown = edit.ChangedInk(m_lastChange);
    edit.Apply(m_objects, m_bitmap);
    m_history.Record(std::move(edit));
}

void CAnnotatedImage::Undo()
{
    if (CAnnotationEdit* edit = m_history.StepBack()) {
        m_bLastChangeKnown = edit->ChangedInk(m_lastChange);
        edit->Revert(m_objects, m_bitmap);
    }
}

void CAnnotatedImage::Redo()
{
    if (CAnnotationEdit* edit = m_history.StepForward()) {
        m_bLastChangeKnown = edit->ChangedInk(m_lastChange);
        edit->Apply(m_objects, m_bitmap);
    }
}

int CAnnotatedImage::NextStepNumber() const
{
    int highest = 0;
    for (const Annotation& object : m_objects) {
        if (object.kind == AnnotationKind::kStep)
            highest = std::max(highest, object.number);
    }
    return std::min(highest, kMaxStepNumber - 1) + 1;
}

bool CAnnotatedImage::Crop(const ImageRect& box)
{
    const SIZE size = Size();
    const RECT pixels = PixelBox(box, size.cx, size.cy);
    const int width = pixels.right - pixels.left, height = pixels.bottom - pixels.top;
    if (width <= 0 || height <= 0) {
        SetLastError(ERROR_EMPTY);
        return false;
    }
    DWORD* bits = nullptr;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    CBitmapOwner cropped(CreateTopDownDib(width, height, bits));
    if (!cropped)
        return false;
    {
        const CMemoryDC source(nullptr), target(nullptr);
        CSelectObject from(source, m_bitmap.get()), to(target, cropped.get());
        if (!BitBlt(target, 0, 0, width, height, source, pixels.left, pixels.top, SRCCOPY)) {
            if (GetLastError() == ERROR_SUCCESS)
                SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return false;
        }
    }
    Execute(CAnnotationEdit::Crop(std::move(cropped), POINT{pixels.left, pixels.top}, m_objects));
    return true;
}
