// Scoped owners for the device contexts, selections and bitmaps a capture uses, so
// that every one is released on every path.
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

// Owns a bitmap until Detach hands it on.
class CBitmapOwner : CNonCopyable {
public:
    explicit CBitmapOwner(HBITMAP bitmap = nullptr) : m_hBitmap(bitmap) {}
    ~CBitmapOwner() { if (m_hBitmap) DeleteObject(m_hBitmap); }
    HBITMAP Get() const { return m_hBitmap; }
    HBITMAP Detach() { HBITMAP bitmap = m_hBitmap; m_hBitmap = nullptr; return bitmap; }
private:
    HBITMAP m_hBitmap;
};

} // namespace snapcore

#endif
