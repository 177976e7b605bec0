#include "app/MdiClientRouting.h"

#include "app/AppFrame.h"

LRESULT CMdiClientRouting::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return m_frame.MdiClientProc(msg, wParam, lParam);
}
