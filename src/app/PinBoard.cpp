#include "app/PinBoard.h"

#include <algorithm>

#include "app/DocumentTabs.h"
#include "capture/CaptureNames.h"
#include "document/DocumentMessages.h"
#include "document/ImageFrame.h"
#include "res/resource.h"
#include "util/AppMessageBox.h"

bool CPinBoard::Pin(HBITMAP bitmap, POINT imageOrigin)
{
    CPinWindow::IOwner& owner = *this;
    auto pin = std::make_unique<CPinWindow>(owner);
    if (!pin->Create(bitmap, imageOrigin))
        return false;
    m_pins.push_back(std::move(pin));
    return true;
}

bool CPinBoard::PinCentred(HBITMAP bitmap, HWND window)
{
    BITMAP info{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetObjectA(bitmap, sizeof(info), &info)
        || !GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        return false;
    const RECT& area = monitor.rcWork;
    return Pin(bitmap, {(area.left + area.right - info.bmWidth) / 2, (area.top + area.bottom - info.bmHeight) / 2});
}

void CPinBoard::PinDocument(HWND window, HWND frame)
{
    CImageFrame* document = nullptr;
    if (m_documents.FindTab(window, &document) < 0)
        return;
    SendMessageA(document->View().Handle(), WM_APP_FINISH_TEXT, 0, 0);
    CBitmapOwner flattened;
    HBITMAP output = document->View().Document().OutputImage(flattened);
    if (!output || !PinCentred(output, frame))
        AppMessageBox(frame, IDS_PIN_NO_MEMORY, MB_ICONHAND | MB_OK);
}

bool CPinBoard::HideAll()
{
    bool hidden = false;
    for (const auto& pin : m_pins)
        if (IsWindowVisible(pin->Handle())) {
            ShowWindow(pin->Handle(), SW_HIDE);
            hidden = true;
        }
    return hidden;
}

// Raised again as well: the frame came back after the pins went up, and not every
// window system keeps the topmost ones over a window brought to the front.
void CPinBoard::ShowAll()
{
    for (const auto& pin : m_pins)
        SetWindowPos(pin->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CPinBoard::CloseAll()
{
    // Each window removes itself from the list as it goes.
    while (!m_pins.empty()) {
        if (!m_pins.back()->DestroyWindow())
            m_pins.pop_back();
    }
}

void CPinBoard::OpenPinAsDocument(CBitmapOwner bitmap)
{
    // Named as the next capture would be, so that no two documents share a title.
    ++g_nCaptureCount;
    CaptureName name;
    MakeUnsavedCaptureName(name);
    m_documents.CreateImageDocument(std::move(bitmap), name, false);
}

void CPinBoard::OnPinDestroyed(CPinWindow& pin)
{
    auto found = std::find_if(m_pins.begin(), m_pins.end(), [&pin](const auto& owned) { return owned.get() == &pin; });
    if (found != m_pins.end())
        m_pins.erase(found);
}
