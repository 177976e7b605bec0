#include "PrintScreenCapture.h"

#include <cstdlib>

#include "scoped/ScopedHandles.h"

namespace snapcore {
namespace {

constexpr DWORD kClipboardDeadlineMs = 500;
constexpr DWORD kPollIntervalMs = 10;

class CClipboardLock : CNonCopyable {
public:
    CClipboardLock() : m_bOpen(OpenClipboard(nullptr) != FALSE) {}
    ~CClipboardLock() { if (m_bOpen) CloseClipboard(); }
    bool IsOpen() const { return m_bOpen; }
private:
    bool m_bOpen;
};

bool PressPrintScreen()
{
    INPUT keys[2] = {};
    for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = VK_SNAPSHOT;
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, keys, sizeof(INPUT)) == 2;
}

bool ClipboardHasBitmap()
{
    return IsClipboardFormatAvailable(CF_BITMAP) || IsClipboardFormatAvailable(CF_DIB);
}

// Only messages other threads send us are served while waiting (a clipboard owner may
// be waiting for an answer); posted commands, hotkeys and input stay queued, so the
// caller is never re-entered in the middle of a capture.
void WaitServingSentMessages(DWORD milliseconds)
{
    if (MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_SENDMESSAGE) == WAIT_OBJECT_0) {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

void CopyClipboardBitmap(HDC dc, SIZE size)
{
    const HBITMAP shot = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP shape{};
    if (!shot || !GetObjectA(shot, sizeof(shape), &shape) || shape.bmWidth != size.cx
        || labs(shape.bmHeight) != size.cy)
        return;
    const CMemoryDC source(dc);
    const CSelectObject selection(source, shot);
    if (selection.Succeeded())
        BitBlt(dc, 0, 0, size.cx, size.cy, source, 0, 0, SRCCOPY);
}

} // namespace

void CopyPrintScreenImage(HDC dc, SIZE size)
{
    // A changed sequence number is what tells our screenshot from whatever the user
    // had copied before.
    const DWORD sequenceBefore = GetClipboardSequenceNumber();
    if (!PressPrintScreen())
        return;
    const DWORD start = GetTickCount();
    for (;;) {
        if (GetClipboardSequenceNumber() != sequenceBefore && ClipboardHasBitmap()) {
            // Opening fails while the system is still filling the clipboard.
            const CClipboardLock clipboard;
            if (clipboard.IsOpen()) {
                CopyClipboardBitmap(dc, size);
                return;
            }
        }
        if (GetTickCount() - start >= kClipboardDeadlineMs)
            return;
        WaitServingSentMessages(kPollIntervalMs);
    }
}

} // namespace snapcore
