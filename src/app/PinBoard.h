#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "document/PinWindow.h"

class CDocumentTabs;

// Every image pinned on the screen, for as long as the program runs. A capture hides
// them while it takes the screen and shows them again afterwards.
class CPinBoard : private CPinWindow::IOwner {
public:
    explicit CPinBoard(CDocumentTabs& documents) : m_documents(documents) {}
    ~CPinBoard() { CloseAll(); }
    CPinBoard(const CPinBoard&) = delete;
    CPinBoard& operator=(const CPinBoard&) = delete;

    // Pins a copy of bitmap at 100% with its top-left pixel at imageOrigin (screen
    // coordinates), as a capture is shown where it was taken; false when it could not.
    bool Pin(HBITMAP bitmap, POINT imageOrigin);
    // Pins a copy in the middle of the work area of window's monitor.
    bool PinCentred(HBITMAP bitmap, HWND window);
    // Pins the picture of a document window as every output takes it, marks drawn in,
    // on frame's monitor, and tells the user when it cannot.
    void PinDocument(HWND document, HWND frame);

    // Hides every shown pin; false when there were none to hide.
    bool HideAll();
    // Shows every pin, over every other window.
    void ShowAll();
    // The frame has taken the keyboard, or come back on the screen with it: the shown
    // pins go back over every other window, in their order, when the message posted to
    // frame arrives (its handler calls RaiseOverFrame); one at a time.
    void RaiseOverFrameSoon(HWND frame, UINT message);
    void RaiseOverFrame();
    void CloseAll();

    size_t Count() const { return m_pins.size(); }
    HWND PinHandle(size_t index) const { return m_pins[index]->Handle(); }

private:
    void RaiseAll();
    bool Holds(HWND window) const;
    void OpenPinAsDocument(CBitmapOwner bitmap) override;
    void CloseAllPins() override { CloseAll(); }
    void OnPinDestroyed(CPinWindow& pin) override;

    CDocumentTabs& m_documents;
    std::vector<std::unique_ptr<CPinWindow>> m_pins;
    bool m_bRaisePosted = false;
};
