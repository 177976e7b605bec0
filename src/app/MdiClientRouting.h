#pragma once
#include "ui/Window.h"

class CAppFrame;

// Passes every message of the MDI client through the frame's second message table
// first; what the frame leaves alone goes on to the client's own procedure.
class CMdiClientRouting : public CWindow {
public:
    explicit CMdiClientRouting(CAppFrame& frame) : m_frame(frame) {}

    LRESULT CallClient(UINT msg, WPARAM wParam, LPARAM lParam) { return DefaultProc(msg, wParam, lParam); }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    CAppFrame& m_frame;
};
