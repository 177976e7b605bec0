#include "document/ImageDocument.h"

#include "annotate/AnnotatedPng.h"
#include "annotate/AnnotationPainter.h"
#include "document/ImageEditors.h"
#include "document/ImageFileDialogs.h"
#include "util/CharSearch.h"

void CImageDocument::Adopt(CBitmapOwner bitmap, const char* name, bool saved, std::vector<Annotation> objects)
{
    m_picture.Reset(bitmap.release(), std::move(objects));
    m_strPath = name ? name : "";
    m_bNeverSaved = !saved;
}

HBITMAP CImageDocument::OutputImage(CBitmapOwner& flattened) const
{
    if (m_picture.Objects().empty())
        return Image();
    flattened.reset(FlattenAnnotations(Image(), m_picture.Objects()));
    return flattened.get();
}

bool CImageDocument::Write(int format, const char* path) const
{
    CBitmapOwner flattened;
    HBITMAP output = OutputImage(flattened);
    if (!output)
        return false;
    const bool keepsMarks = flattened && format == FindImageFormat("png");
    std::string chunk;
    if (keepsMarks && !PackAnnotatedImage(Image(), output, m_picture.Objects(), chunk))
        return false;
    return SaveImageFile(output, format, path, CFileReplacement::kReplaceExisting, keepsMarks ? &chunk : nullptr);
}

bool CImageDocument::SaveAs(char (&name)[MAX_PATH])
{
    if (!SaveImageAs([this](int format, const char* path) { return Write(format, path); }, name))
        return false;
    if (IsModified()) {
        m_strPath = name;
        m_bNeverSaved = false;
        m_picture.MarkSaved();
    }
    return true;
}

void CImageDocument::OpenInEditor(IImageEditors& editors, int index) const
{
    // A never-saved capture has just a title.
    if (FindLastChar(m_strPath.c_str(), '\\'))
        editors.OpenInEditor(index, m_strPath.c_str());
}
