#pragma once

#include <windows.h>

// The screen's device context for the lifetime of the object.
class CScreenDC {
public:
    CScreenDC() noexcept : m_hDC(::GetDC(nullptr)) {}
    ~CScreenDC()
    {
        if (m_hDC)
            ::ReleaseDC(nullptr, m_hDC);
    }
    CScreenDC(const CScreenDC&) = delete;
    CScreenDC& operator=(const CScreenDC&) = delete;

    HDC Get() const noexcept { return m_hDC; }

private:
    HDC m_hDC;
};
