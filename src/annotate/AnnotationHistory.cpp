#include "annotate/AnnotationHistory.h"

void CAnnotationHistory::Record(CAnnotationEdit edit)
{
    m_edits.resize(m_position);
    // The saved state was among the edits just dropped: no undo reaches it again.
    if (m_saved > m_position)
        m_saved = kNoSavedState;
    m_edits.push_back(std::move(edit));
    ++m_position;
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
    m_position = 0;
    m_saved = 0;
}
