#pragma once
#include <cstddef>
#include <vector>

#include "annotate/AnnotationEdit.h"

// The edits made to one picture, to undo and redo, and which of its states was last
// saved. The edits hold at most a bound of memory: beyond it the oldest are dropped.
class CAnnotationHistory {
public:
    // A 32-bit program has 2 GiB for the pictures of every open document and their
    // histories. Each history may hold as much as the largest picture that opens (the
    // size limit): a crop of even that picture can be undone, while a handful of
    // documents with full histories still leaves room to work.
    static constexpr size_t kMostHeldBytes = size_t(256) << 20;

    explicit CAnnotationHistory(size_t mostHeldBytes = kMostHeldBytes) : m_mostHeldBytes(mostHeldBytes) {}

    // Records an edit that was just applied; whatever could be redone is dropped, and
    // then the oldest edits while the rest hold more than the bound (the newest stays).
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

    void DropOldest(size_t count);

    size_t m_mostHeldBytes;
    std::vector<CAnnotationEdit> m_edits;
    std::vector<size_t> m_heldBytes;  // of each edit
    size_t m_position = 0;  // edits before it are applied
    size_t m_saved = 0;
};
