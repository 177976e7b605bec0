// Scoped owners for the device contexts, selections and GDI objects a capture uses,
// so that every one is released on every path.
#ifndef SNAPCORE_GDISCOPE_H
#define SNAPCORE_GDISCOPE_H

#include <windows.h>

namespace snapcore {

class CNonCopyable {
protected:
    CNonCopyable() = default;
    ~CNonCopyable() = default;
public:
    CNonCopyable(const CNonCopyable&) = delete;
    CNonCopyable& operator=(const CNonCopyable&) = delete;
};

// The DC of the whole screen (all monitors).
class CScreenDC : CNonCopyable {
public:
    CScreenDC() : m_hDC(GetDC(nullptr)) {}
    ~CScreenDC() { if (m_hDC) ReleaseDC(nullptr, m_hDC); }
    operator HDC() const { return m_hDC; }
private:
    HDC m_hDC;
};

class CMemoryDC : CNonCopyable {
public:
    explicit CMemoryDC(HDC compatibleWith) : m_hDC(CreateCompatibleDC(compatibleWith)) {}
    ~CMemoryDC() { if (m_hDC) DeleteDC(m_hDC); }
    operator HDC() const { return m_hDC; }
private:
    HDC m_hDC;
};

// Selects an object into a DC and puts the previous one back when it goes out of scope.
class CSelection : CNonCopyable {
public:
    CSelection(HDC dc, HGDIOBJ object) : m_hDC(dc), m_hOld(SelectObject(dc, object)) {}
    ~CSelection() { if (m_hOld && m_hOld != HGDI_ERROR) SelectObject(m_hDC, m_hOld); }
    bool Succeeded() const { return m_hOld && m_hOld != HGDI_ERROR; }
private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// Owns a GDI object (bitmap, region, brush, font) until Detach hands it on.
template <typename Handle>
class CGdiObject : CNonCopyable {
public:
    explicit CGdiObject(Handle object = nullptr) : m_hObject(object) {}
    ~CGdiObject() { if (m_hObject) DeleteObject(m_hObject); }
    Handle Get() const { return m_hObject; }
    Handle Detach() { Handle object = m_hObject; m_hObject = nullptr; return object; }
    void Reset(Handle object) { if (m_hObject) DeleteObject(m_hObject); m_hObject = object; }
private:
    Handle m_hObject;
};

using CBitmapOwner = CGdiObject<HBITMAP>;
using CRegionOwner = CGdiObject<HRGN>;
using CBrushOwner = CGdiObject<HBRUSH>;

// Keeps a DC's state (clip region, selections, colours) as it is now and puts it back
// at the end of the scope, whatever code in between changed.
class CSavedDC : CNonCopyable {
public:
    explicit CSavedDC(HDC dc) : m_hDC(dc), m_nSaved(SaveDC(dc)) {}
    ~CSavedDC() { if (m_nSaved) RestoreDC(m_hDC, m_nSaved); }
private:
    HDC m_hDC;
    int m_nSaved;
};

} // namespace snapcore

#endif
