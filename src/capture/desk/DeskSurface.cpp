#include "capture/desk/DeskSurface.h"

#include "ui/DpiScale.h"
#include "util/AppMessageBox.h"
#include "util/SystemReason.h"

CanvasMapping CDeskSurface::Mapping() const
{
    CanvasMapping mapping;
    mapping.offset = POINT{-m_origin.x, -m_origin.y};
    return mapping;
}

void CDeskSurface::Invalidate(const RECT* client)
{
    InvalidateRect(m_desk.Handle(), client, FALSE);
}

void CDeskSurface::CaptureMouse()
{
    SetCapture(m_desk.Handle());
}

void CDeskSurface::ReleaseMouse()
{
    ReleaseCapture();
}

int CDeskSurface::ScreenPixels(int pixelsAt96Dpi) const
{
    return CDpiScale::OfWindow(m_desk.Handle()).Scale(pixelsAt96Dpi);
}

void CDeskSurface::ReportFailure(UINT messageId, DWORD error)
{
    AppMessageBox(m_desk.Handle(), messageId, MB_ICONHAND | MB_OK, SystemReason(error).c_str());
}
