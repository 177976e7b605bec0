#pragma once

#include <windows.h>

#include "scoped/ScopedHandles.h"
#include "ui/Window.h"

// Turns a static text control into a link: drawn underlined in the user's link
// colour, with a hand cursor and a tooltip that shows the target. It takes the focus
// (with a focus rectangle) when the static has WS_TABSTOP; a click, Space or Enter
// asks the shell to open the target, after which it is drawn in the visited colour.
class CHyperLink : public CWindow {
public:
    static const COLORREF kDefaultLinkColor = RGB(0, 0, 255);
    static const COLORREF kDefaultVisitedColor = RGB(128, 0, 128);

    // Subclasses hStatic; the target is cut to fit 255 bytes.
    bool SubclassStatic(HWND hStatic, const char* target);

    // Opens the target through the shell and marks the link visited.
    void Activate();

    const char* Target() const { return m_szTarget; }
    bool IsVisited() const { return m_bVisited; }
    COLORREF LinkColor() const { return m_crLink; }
    COLORREF VisitedColor() const { return m_crVisited; }
    // The colour the text is drawn in now.
    COLORREF TextColor() const { return m_bVisited ? m_crVisited : m_crLink; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateUnderlinedFont();
    void CreateToolTip();
    void Paint(HDC hDC);
    LRESULT OnPaint();
    LRESULT OnGetDlgCode(const MSG* pMsg);
    LRESULT OnKeyDown(WPARAM vk, LPARAM flags);
    LRESULT OnLButtonUp(LPARAM point);

    char m_szTarget[256] = {};
    bool m_bVisited = false;
    COLORREF m_crLink = kDefaultLinkColor;
    COLORREF m_crVisited = kDefaultVisitedColor;
    CFontOwner m_font;
    CWindowOwner m_toolTip;
};
