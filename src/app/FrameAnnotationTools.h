#pragma once
#include <windows.h>
#include <commctrl.h>

#include "annotate/AnnotationTools.h"
#include "app/AnnotationToolsFile.h"
#include "document/AnnotationToolBar.h"

class CDocumentTabs;
class CFrameBars;
class CImageFrame;

// The annotation tools every document of the frame draws with, their toolbar band and
// the file that keeps their choices. The band is there while there is an image to
// draw on; it is made with the first image, not at the start, which it would slow
// down for a bar nobody sees yet.
class CFrameAnnotationTools {
public:
    CFrameAnnotationTools(CFrameBars& bars, const CDocumentTabs& documents) : m_bars(bars), m_documents(documents) {}
    CFrameAnnotationTools(const CFrameAnnotationTools&) = delete;
    CFrameAnnotationTools& operator=(const CFrameAnnotationTools&) = delete;

    // Loads the kept choices for the frame's documents.
    void Start(HWND frame);
    // The tool commands and the toolbar's; false for any other.
    bool OnCommand(WPARAM wParam, LPARAM lParam);
    bool OnDropDown(const NMTOOLBARA& notify) { return m_bar.OnDropDown(notify); }
    // Any popup with the tools marks the one in use.
    void CheckToolItem(HMENU popup) const;
    void ChangeDpi(const CDpiScale& dpi) { m_bar.ChangeDpi(dpi); }

    void OnDocumentCreated(CImageFrame& document);
    void OnLastDocumentClosed();
    void SaveIfPending() { m_file.SaveIfPending(); }

    CAnnotationTools& Tools() { return m_tools; }
    CAnnotationToolBar& Bar() { return m_bar; }
    const CAnnotationToolBar& Bar() const { return m_bar; }

private:
    // The tool or the look changed, from the bar, the menu or a key in an image.
    void OnChanged(unsigned properties);

    CFrameBars& m_bars;
    const CDocumentTabs& m_documents;
    HWND m_hWndFrame = nullptr;
    CAnnotationTools m_tools;
    CAnnotationToolBar m_bar{m_tools};
    CAnnotationToolsFile m_file{m_tools};
};
