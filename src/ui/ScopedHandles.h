#pragma once
#include <windows.h>

#include <memory>
#include <type_traits>

// Scoped owners for the handles the user interface creates, so that every create
// has its release in one place.

template <typename Handle, typename Release>
using CHandleOwner = std::unique_ptr<std::remove_pointer_t<Handle>, Release>;

struct MenuDestroyer {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct MemoryDCDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct HookRemover {
    void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
};

using CMenuOwner = CHandleOwner<HMENU, MenuDestroyer>;
using CFontOwner = CHandleOwner<HFONT, GdiObjectDeleter>;
using CBitmapOwner = CHandleOwner<HBITMAP, GdiObjectDeleter>;
using CBrushOwner = CHandleOwner<HBRUSH, GdiObjectDeleter>;
using CMemoryDC = CHandleOwner<HDC, MemoryDCDeleter>;
using CHookOwner = CHandleOwner<HHOOK, HookRemover>;

// The screen's device context for as long as the object lives.
class CScreenDC {
public:
    CScreenDC() : m_hDC(GetDC(nullptr)) {}
    ~CScreenDC() { ReleaseDC(nullptr, m_hDC); }
    CScreenDC(const CScreenDC&) = delete;
    CScreenDC& operator=(const CScreenDC&) = delete;
    operator HDC() const { return m_hDC; }

private:
    HDC m_hDC;
};

// Selects an object into a device context and puts the previous one back.
class CSelectObject {
public:
    CSelectObject(HDC dc, HGDIOBJ object) : m_hDC(dc), m_hPrevious(SelectObject(dc, object)) {}
    ~CSelectObject() { SelectObject(m_hDC, m_hPrevious); }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hPrevious;
};
