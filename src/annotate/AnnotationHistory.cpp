#include "annotate/AnnotationHistory.h"

void CAnnotationHistory::Record(CAnnotationEdit edit)
{
    m_edits.resize(m_position);
    m_heldBytes.resize(m_position);
    // The saved state was among the edits just dropped: no undo reaches it again.
    if (m_saved > m_position)
        m_saved = kNoSavedState;
    m_heldBytes.push_back(edit.HeldBytes());
    m_edits.push_back(std::move(edit));
    ++m_position;
    size_t held = 0, kept = 0;
    while (kept < m_heldBytes.size() && (kept == 0 || held + m_heldBytes[m_heldBytes.size() - 1 - kept] <= m_mostHeldBytes))
        held += m_heldBytes[m_heldBytes.size() - 1 - kept++];
    DropOldest(m_edits.size() - kept);
}

void CAnnotationHistory::DropOldest(size_t count)
{
    if (count == 0)
        return;
    m_edits.erase(m_edits.begin(), m_edits.begin() + static_cast<std::ptrdiff_t>(count));
    m_heldBytes.erase(m_heldBytes.begin(), m_heldBytes.begin() + static_cast<std::ptrdiff_t>(count));
    m_position -= count;
    m_saved = m_saved != kNoSavedState && m_saved >= count ? m_saved - count : kNoSavedState;
}

CAnnotationEdit* CAnnotationHistory::StepBack()
{
    if (!CanUndo())
        return nullptr;
    return &m_edits[--m_position];
}

CAnnotationEdit* CAnnotationHistory::StepForward()
{
    if (!CanRedo())
        return nullptr;
    return &m_edits[m_position++];
}

void CAnnotationHistory::Clear()
{
    m_edits.clear();
    m_heldBytes.clear();
    m_position = 0;
    m_saved = 0;
}
