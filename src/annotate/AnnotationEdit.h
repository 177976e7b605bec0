#pragma once
#include <optional>
#include <vector>

#include "annotate/Annotation.h"
#include "scoped/ScopedHandles.h"

// One change of a document's picture as its history records it: marks added, removed
// or replaced, and for a crop the bitmap that is not shown. Groups of changes (a
// delete of several marks, a new colour for all that are selected) are one edit.
// Only what changed is kept: the marks before and after, and a crop's other bitmap.
class CAnnotationEdit {
public:
    static CAnnotationEdit Insert(size_t index, Annotation object);
    static CAnnotationEdit Replace(size_t index, Annotation before, Annotation after);
    // Removes the marks at indices (any order) and renumbers the step numbers that
    // are left 1, 2, 3 … in their order.
    static CAnnotationEdit Remove(const std::vector<Annotation>& objects, std::vector<size_t> indices);
    // Shows cropped in place of the bitmap, the marks moved by -origin with it.
    static CAnnotationEdit Crop(CBitmapOwner cropped, POINT origin, const std::vector<Annotation>& objects);

    // Adds the other edit's changes after this one's, so both undo as one.
    void Append(CAnnotationEdit other);
    bool IsEmpty() const { return m_steps.empty() && !m_bCrop; }

    // The image pixels whose look the edit changes, whichever way it runs: the ink of
    // every mark it touches. False for a crop, which changes the whole picture.
    bool ChangedInk(RECT& area) const;
    // The memory the edit holds: its marks and a crop's other bitmap.
    size_t HeldBytes() const;

    void Apply(std::vector<Annotation>& objects, CBitmapOwner& bitmap);
    void Revert(std::vector<Annotation>& objects, CBitmapOwner& bitmap);

private:
    struct Step {
        size_t index;
        std::optional<Annotation> before;
        std::optional<Annotation> after;
    };

    static void Run(const Step& step, std::vector<Annotation>& objects, bool forward);

    std::vector<Step> m_steps;
    bool m_bCrop = false;
    CBitmapOwner m_otherBitmap;  // a crop's: the bitmap that is not shown now
};
