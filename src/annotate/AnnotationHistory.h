#pragma once
#include <cstddef>
#include <vector>

#include "annotate/AnnotationEdit.h"

// The edits made to one picture, to undo and redo without limit, and which of its
// states was last saved.
class CAnnotationHistory {
public:
    // Records an edit that was just applied; whatever could be redone is dropped.
    void Record(CAnnotationEdit edit);
    // The edit to revert for an undo, or to apply again for a redo; null when there is
    // none. The history moves past it.
    CAnnotationEdit* StepBack();
    CAnnotationEdit* StepForward();
    bool CanUndo() const { return m_position > 0; }
    bool CanRedo() const { return m_position < m_edits.size(); }

    void MarkSaved() { m_saved = m_position; }
    bool AtSavedState() const { return m_saved == m_position; }
    void Clear();

private:
    static constexpr size_t kNoSavedState = static_cast<size_t>(-1);

    std::vector<CAnnotationEdit> m_edits;
    size_t m_position = 0;  // edits before it are applied
    size_t m_saved = 0;
};
