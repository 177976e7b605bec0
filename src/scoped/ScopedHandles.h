#pragma once
#include <windows.h>

#include <memory>
#include <type_traits>

#include "scoped/NonCopyable.h"

// Scoped owners for the handles, device contexts, selections and locks the program and
// its capture engine take, so that every one is given back in one place on every path.

// A handle given back by Release, with the interface of std::unique_ptr: get(),
// reset() and release() to hand it on.
template <typename Handle, typename Release>
using CHandleOwner = std::unique_ptr<std::remove_pointer_t<Handle>, Release>;

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct MenuDestroyer {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct IconDestroyer {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct CursorDestroyer {
    void operator()(HCURSOR cursor) const { DestroyCursor(cursor); }
};
struct WindowDestroyer {
    void operator()(HWND window) const { DestroyWindow(window); }
};
struct HookRemover {
    void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
};
struct ModuleFreer {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
// A kernel handle; one from CreateFile is owned only after INVALID_HANDLE_VALUE is ruled out.
struct KernelHandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct GlobalFreer {
    void operator()(HGLOBAL block) const { GlobalFree(block); }
};
// A device context made by CreateDC or handed out by a common dialog (a printer's).
struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};

using CBitmapOwner = CHandleOwner<HBITMAP, GdiObjectDeleter>;
using CBrushOwner = CHandleOwner<HBRUSH, GdiObjectDeleter>;
using CFontOwner = CHandleOwner<HFONT, GdiObjectDeleter>;
using CRegionOwner = CHandleOwner<HRGN, GdiObjectDeleter>;
using CMenuOwner = CHandleOwner<HMENU, MenuDestroyer>;
using CIconOwner = CHandleOwner<HICON, IconDestroyer>;
using CCursorOwner = CHandleOwner<HCURSOR, CursorDestroyer>;
using CWindowOwner = CHandleOwner<HWND, WindowDestroyer>;
using CHookOwner = CHandleOwner<HHOOK, HookRemover>;
using CModuleOwner = CHandleOwner<HMODULE, ModuleFreer>;
using CKernelHandleOwner = CHandleOwner<HANDLE, KernelHandleCloser>;
using CGlobalOwner = CHandleOwner<HGLOBAL, GlobalFreer>;
using CDcOwner = CHandleOwner<HDC, DcDeleter>;

// A window's device context from GetDC, until the scope ends.
class CWindowDC : CNonCopyable {
public:
    explicit CWindowDC(HWND window) : m_hWnd(window), m_hDC(GetDC(window)) {}
    ~CWindowDC()
    {
        if (m_hDC)
            ReleaseDC(m_hWnd, m_hDC);
    }
    operator HDC() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// The device context of the whole screen (all monitors).
class CScreenDC : public CWindowDC {
public:
    CScreenDC() : CWindowDC(nullptr) {}
};

// A memory device context compatible with another one (null: with the screen).
class CMemoryDC : CNonCopyable {
public:
    explicit CMemoryDC(HDC compatibleWith) : m_hDC(CreateCompatibleDC(compatibleWith)) {}
    ~CMemoryDC()
    {
        if (m_hDC)
            DeleteDC(m_hDC);
    }
    operator HDC() const { return m_hDC; }

private:
    HDC m_hDC;
};

// Selects an object into a device context and puts the previous one back.
class CSelectObject : CNonCopyable {
public:
    CSelectObject(HDC dc, HGDIOBJ object) : m_hDC(dc), m_hPrevious(SelectObject(dc, object)) {}
    ~CSelectObject()
    {
        if (Succeeded())
            SelectObject(m_hDC, m_hPrevious);
    }
    bool Succeeded() const { return m_hPrevious && m_hPrevious != HGDI_ERROR; }

private:
    HDC m_hDC;
    HGDIOBJ m_hPrevious;
};

// Keeps a device context's state (clip region, selections, colours) as it is now and
// puts it back at the end of the scope, whatever the code in between changed.
class CSavedDC : CNonCopyable {
public:
    explicit CSavedDC(HDC dc) : m_hDC(dc), m_nSaved(SaveDC(dc)) {}
    ~CSavedDC()
    {
        if (m_nSaved)
            RestoreDC(m_hDC, m_nSaved);
    }
    bool Succeeded() const { return m_nSaved != 0; }

private:
    HDC m_hDC;
    int m_nSaved;
};

// Locks a global memory block while it lives; Get() is null when the lock failed.
template <typename T>
class CGlobalLock : CNonCopyable {
public:
    explicit CGlobalLock(HGLOBAL block) : m_hBlock(block), m_pData(static_cast<T*>(GlobalLock(block))) {}
    ~CGlobalLock()
    {
        if (m_pData)
            GlobalUnlock(m_hBlock);
    }
    T* Get() const { return m_pData; }

private:
    HGLOBAL m_hBlock;
    T* m_pData;
};

// A critical section made and deleted with its owner.
class CCriticalSection : CNonCopyable {
public:
    CCriticalSection() { InitializeCriticalSection(&m_section); }
    ~CCriticalSection() { DeleteCriticalSection(&m_section); }

private:
    friend class CSectionLock;
    CRITICAL_SECTION m_section;
};

// Holds a critical section until the scope ends.
class CSectionLock : CNonCopyable {
public:
    explicit CSectionLock(CCriticalSection& section) : m_section(section.m_section)
    {
        EnterCriticalSection(&m_section);
    }
    ~CSectionLock() { LeaveCriticalSection(&m_section); }

private:
    CRITICAL_SECTION& m_section;
};
