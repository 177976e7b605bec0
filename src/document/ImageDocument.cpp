#include "document/ImageDocument.h"

#include "document/ImageEditors.h"
#include "document/ImageFileDialogs.h"
#include "util/CharSearch.h"

CImageDocument::~CImageDocument()
{
    if (m_hImage)
        DeleteObject(m_hImage);
}

void CImageDocument::Adopt(HBITMAP bitmap, const char* name, bool saved)
{
    if (m_hImage && m_hImage != bitmap)
        DeleteObject(m_hImage);
    m_hImage = bitmap;
    m_strPath = name ? name : "";
    m_bModified = !saved;
}

SIZE CImageDocument::ImageSize() const
{
    BITMAP info{};
    if (!m_hImage || !GetObjectA(m_hImage, sizeof(info), &info))
        return SIZE{};
    return SIZE{info.bmWidth, info.bmHeight};
}

bool CImageDocument::SaveAs(char (&name)[MAX_PATH])
{
    if (!SaveImageAs(m_hImage, name))
        return false;
    if (m_bModified) {
        m_strPath = name;
        m_bModified = false;
    }
    return true;
}

void CImageDocument::OpenInEditor(IImageEditors& editors, int index) const
{
    // A never-saved capture has just a title.
    if (FindLastChar(m_strPath.c_str(), '\\'))
        editors.OpenInEditor(index, m_strPath.c_str());
}
