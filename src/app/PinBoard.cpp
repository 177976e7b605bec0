#include "app/PinBoard.h"

#include <algorithm>

#include "app/DocumentTabs.h"
#include "capture/CaptureNames.h"
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
    CBitmapOwner flattened;
    HBITMAP output = document->OutputImage(flattened);
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

// Raised as well: the frame may have come back after the pins went up.
void CPinBoard::ShowAll()
{
    for (const auto& pin : m_pins)
        ShowWindow(pin->Handle(), SW_SHOWNA);
    RaiseAll();
}

void CPinBoard::RaiseOverFrameSoon(HWND frame, UINT message)
{
    if (!m_bRaisePosted && !m_pins.empty())
        m_bRaisePosted = PostMessageA(frame, message, 0, 0) != FALSE;
}

// Under X without a window manager, Wine raises a window over every other one, topmost
// or not, whenever it takes the keyboard, and once more when the display reports it
// shown with the keyboard in it. The first raise waits for the display's answer, so
// every report of the frame's show is in by then; a wait that returns at once reads
// them (a look into the queue would not while messages are waiting there), and the
// second raise has the last word.
void CPinBoard::RaiseOverFrame()
{
    m_bRaisePosted = false;
    RaiseAll();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
    RaiseAll();
}

// Bottom pin first, each to the top. A pin that is the first window already would not
// move for HWND_TOPMOST, and the display learns of a new place only: each leaves the
// topmost windows for a moment.
void CPinBoard::RaiseAll()
{
    std::vector<HWND> shown;  // the top one first
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT))
        if (IsWindowVisible(window) && Holds(window))
            shown.push_back(window);
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    for (auto pin = shown.rbegin(); pin != shown.rend(); ++pin) {
        SetWindowPos(*pin, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
        SetWindowPos(*pin, HWND_TOPMOST, 0, 0, 0, 0, flags);
    }
}

bool CPinBoard::Holds(HWND window) const
{
    return std::any_of(m_pins.begin(), m_pins.end(), [window](const auto& pin) { return pin->Handle() == window; });
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
