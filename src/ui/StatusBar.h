#pragma once
#include "ui/Window.h"

#include <vector>

// A status bar whose panes are known by id: the default pane (id 0) takes whatever
// width is left on the left, every other pane is as wide as its string-table sample
// (string id = pane id) and keeps that width at the right end when the bar changes
// size. It can also switch to one simple part for menu help and back.
class CStatusBar : public CWindow {
public:
    HWND CreateBar(HWND parent, const char* text, DWORD style, UINT id);

    // The first id must be 0, the default pane.
    void SetPanes(const UINT* ids, int count);
    // Measures the panes' samples again, in the bar's font at its DPI.
    void MeasurePanes();
    bool SetPaneText(UINT id, const char* text);

    void ShowMenuHelp(const char* text);
    void EndMenuHelp();

    int PaneWidth(int index) const { return m_widths[index]; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    int PaneIndex(UINT id) const;
    void LayoutPanes();

    std::vector<UINT> m_ids;
    std::vector<int> m_widths;  // 0 for the default pane
};
