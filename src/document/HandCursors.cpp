#include "document/HandCursors.h"

#include "res/resource.h"
#include "ui/DpiScale.h"

namespace {
HCURSOR LoadHandCursor(UINT id, int size)
{
    return static_cast<HCURSOR>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_CURSOR, size, size, 0));
}
}

HCURSOR CHandCursors::Get(HWND window, bool closed)
{
    const int size = CDpiScale::OfWindow(window).PictureLength(16);
    if (size != m_nSize) {
        m_hHands[0].reset(LoadHandCursor(IDC_HAND_OPEN, size));
        m_hHands[1].reset(LoadHandCursor(IDC_HAND_CLOSED, size));
        m_nSize = size;
    }
    return m_hHands[closed ? 1 : 0].get();
}
