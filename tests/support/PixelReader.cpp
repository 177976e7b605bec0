#include "PixelReader.h"

CPixelReader::CPixelReader(HWND window) : m_hWnd(window), m_hDC(nullptr)
{
    if (window)
        UpdateWindow(window);
    m_hDC = GetDC(window);
}

CPixelReader::CPixelReader(HBITMAP bitmap) : m_hDC(CreateCompatibleDC(nullptr)), m_bMemory(true)
{
    m_hPrevious = SelectObject(m_hDC, bitmap);
}

CPixelReader::~CPixelReader()
{
    if (m_bMemory) {
        if (m_hPrevious && m_hPrevious != HGDI_ERROR)
            SelectObject(m_hDC, m_hPrevious);
        DeleteDC(m_hDC);
    } else {
        ReleaseDC(m_hWnd, m_hDC);
    }
}
