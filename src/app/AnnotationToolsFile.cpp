#include "app/AnnotationToolsFile.h"

#include "annotate/AnnotationTools.h"
#include "util/ModulePath.h"

void CAnnotationToolsFile::Load()
{
    if (MakeModuleFilePath("lumigrab.ini", m_szPath))
        m_tools.Load(m_szPath);
    else
        m_szPath[0] = '\0';
}

void CAnnotationToolsFile::OnChanged(unsigned properties)
{
    if (properties && m_szPath[0])
        m_bSaved = m_tools.Save(m_szPath);
}

void CAnnotationToolsFile::SaveIfPending()
{
    if (!m_bSaved)
        m_bSaved = m_tools.Save(m_szPath);
}
