#pragma once

#include <windows.h>

#include "snapcore.h"
#include "ui/Window.h"

// The Auxiliary page's preview: a static control, subclassed so that it paints a
// sample auxiliary window in the selected skin, captioned like the real one and
// labelled with the skin's name as the list shows it. Without a skin manager the
// static paints itself, with its own text.
class CSkinPreview : public CWindow {
public:
    bool Attach(HWND hStatic, HWND hSkinList, ISkinManager* skinManager);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();

    HWND m_hSkinList = nullptr;
    ISkinManager* m_pSkinManager = nullptr;
};
