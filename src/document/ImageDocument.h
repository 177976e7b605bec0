#pragma once
#include <windows.h>

#include <string>

class IImageEditors;

// One image document's data, apart from any window: the bitmap it owns, its name (a
// full path once it is on disk, else a capture's title) and whether it holds changes
// that no file has, with saving and handing to an external editor.
class CImageDocument {
public:
    CImageDocument() = default;
    ~CImageDocument();
    CImageDocument(const CImageDocument&) = delete;
    CImageDocument& operator=(const CImageDocument&) = delete;

    // Takes ownership of the bitmap, in place of the one held before.
    void Adopt(HBITMAP bitmap, const char* name, bool saved);

    HBITMAP Image() const { return m_hImage; }
    SIZE ImageSize() const;
    const std::string& Path() const { return m_strPath; }
    bool IsModified() const { return m_bModified; }

    // Save As, offering name (the name the user sees); true when a file was written.
    // An image with changes then takes the name it was written under, and name holds it.
    bool SaveAs(char (&name)[MAX_PATH]);
    // Hands the file to editor index; only a file on disk can be handed over.
    void OpenInEditor(IImageEditors& editors, int index) const;

private:
    HBITMAP m_hImage = nullptr;
    std::string m_strPath;
    bool m_bModified = false;
};
