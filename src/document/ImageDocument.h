#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "annotate/AnnotatedImage.h"
#include "scoped/ScopedHandles.h"

class IImageEditors;

// One image document's data, apart from any window: its picture (the bitmap, the
// marks over it and their history), its name (a full path once it is on disk, else a
// capture's title) and whether it holds changes that no file has, with saving and
// handing to an external editor. Every output is the flattened picture.
class CImageDocument {
public:
    // The bitmap in place of the one held before, with the marks over it; the history
    // starts empty.
    void Adopt(CBitmapOwner bitmap, const char* name, bool saved, std::vector<Annotation> objects = {});

    // The clean bitmap, without the marks.
    HBITMAP Image() const { return m_picture.Bitmap(); }
    SIZE ImageSize() const { return m_picture.Size(); }
    CAnnotatedImage& Picture() { return m_picture; }
    const CAnnotatedImage& Picture() const { return m_picture; }
    const std::string& Path() const { return m_strPath; }
    bool IsModified() const { return m_bNeverSaved || m_picture.ChangedSinceSave(); }

    // What every output takes: the bitmap itself without marks, else the marks drawn
    // over it at 100% into flattened, which owns the result. Null with the reason as
    // the last error.
    HBITMAP OutputImage(CBitmapOwner& flattened) const;
    // Writes the output in format code to path; a PNG also keeps the clean pixels and
    // the marks, so that they can be edited again. False with the reason as the last error.
    bool Write(int format, const char* path) const;
    // Save As, offering name (the name the user sees); true when a file was written.
    // An image with changes then takes the name it was written under, and name holds it.
    bool SaveAs(char (&name)[MAX_PATH]);
    // Hands the file to editor index; only a file on disk can be handed over.
    void OpenInEditor(IImageEditors& editors, int index) const;

private:
    CAnnotatedImage m_picture;
    std::string m_strPath;
    bool m_bNeverSaved = false;
};
