#pragma once
#include <windows.h>

#include <vector>

#include "annotate/Annotation.h"
#include "annotate/AnnotationLayout.h"
#include "annotate/AnnotationHistory.h"
#include "scoped/ScopedHandles.h"

// The picture of one document apart from any window: the bitmap, the marks over it
// from bottom to top, and the history of every change to either, which also tells
// whether the picture differs from the state last saved.
class CAnnotatedImage {
public:
    // Takes ownership of the bitmap and shows the marks over it; the history starts
    // empty, at a saved state.
    void Reset(HBITMAP bitmap, std::vector<Annotation> objects = {});

    HBITMAP Bitmap() const { return m_bitmap.get(); }
    SIZE Size() const;
    const std::vector<Annotation>& Objects() const { return m_objects; }

    // Applies the edit and records it; an empty edit is ignored.
    void Execute(CAnnotationEdit edit);
    bool CanUndo() const { return m_history.CanUndo(); }
    bool CanRedo() const { return m_history.CanRedo(); }
    void Undo();
    void Redo();

    // The image pixels whose look the last edit, undo or redo changed; false when that
    // was all of them (a crop).
    bool LastChangedInk(RECT& area) const
    {
        area = m_lastChange;
        return m_bLastChangeKnown;
    }

    void MarkSaved() { m_history.MarkSaved(); }
    bool ChangedSinceSave() const { return !m_history.AtSavedState(); }

    // The number for a new step mark: one past the highest there is.
    int NextStepNumber() const;
    // Cuts the bitmap to the box, rounded outward to whole pixels and kept inside the
    // image, as one edit. False, with nothing changed, when no pixel is left (the last
    // error ERROR_EMPTY) or the new bitmap cannot be made (the reason as the last error).
    bool Crop(const ImageRect& box);

private:
    CBitmapOwner m_bitmap;
    std::vector<Annotation> m_objects;
    CAnnotationHistory m_history;
    RECT m_lastChange{};
    bool m_bLastChangeKnown = false;
};
