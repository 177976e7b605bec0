#pragma once
#include <memory>
#include <vector>

#include "annotate/Annotation.h"
#include "scoped/ScopedHandles.h"
#include "ui/DpiScale.h"
#include "ui/GuiFont.h"
#include "ui/Window.h"

class CImageDocument;
class CImageFrame;
class CMenuBar;
class IImageEditors;

// The open documents: each image document, the MDI client whose windows show them,
// whose messages pass through here first, and the tab strip over it with a tab for
// each document, kept in step as documents are activated, saved under a new name and
// closed.
class CDocumentTabs : public CWindow {
public:
    // What the frame around the documents does for them.
    class IOwner {
    public:
        virtual void RecalcFrameLayout(bool resizeBars) = 0;
        // A document has been made with its image, before the frame is laid out again.
        virtual void OnDocumentCreated(CImageFrame& document) = 0;
        // The last document has closed; its menu went with it.
        virtual void OnLastDocumentClosed() = 0;

    protected:
        ~IOwner() = default;
    };

    CDocumentTabs(IOwner& owner, CMenuBar& menuBar, IImageEditors& editors);
    ~CDocumentTabs() override;

    // Makes the tab strip and the MDI client over it in frame; false when the client
    // could not be made.
    bool Create(HWND frame);
    HWND Client() const { return Handle(); }
    HWND TabStrip() const { return m_hWndTabStrip; }
    HWND ActiveDocument() const;
    // The tab strip's font and spacing for the frame's DPI (at creation and when the
    // frame moves to a monitor of another DPI); Layout places it anew.
    void ChangeDpi(const CDpiScale& dpi);

    // Places the tab strip over area and the client over the strip's display area
    // (all of area while there are no tabs).
    void Layout(const RECT& area);

    // Turns a bitmap (handed over) into a new document with its own tab. name is a
    // full path or an unsaved capture's title; saved says the file holds the image.
    bool CreateImageDocument(CBitmapOwner bitmap, const char* name, bool saved, std::vector<Annotation> objects = {});
    // The tab of a document window and its object, or -1 and null.
    int FindTab(HWND document, CImageFrame** frame = nullptr) const;
    // Activates the document of the tab the user chose.
    void OnTabSelChange();
    // The window menu's arrangements, 关闭 and 全部关闭; false for any other command.
    bool OnCommand(UINT id);
    // System broadcasts reach only top-level windows; the windows inside the
    // documents need this one too (the wheel's lines per notch).
    void PassSettingChange(WPARAM wParam, LPARAM lParam);
    // Closes the documents one by one; false as soon as one refuses (its owner
    // cancelled the save prompt), with everything else left in place.
    bool CloseAll();
    // 全部关闭: several unsaved images are asked about once, for all of them; one
    // unsaved image is asked about as closing its window asks.
    void CloseAllAskingOnce();
    // The documents under a maximised one are never seen, yet Wine frames, erases and
    // paints every one of them, each clipped against all the others, whenever the
    // frame comes back on the screen. While the frame is away they are out of the
    // drawing (redraw off, which also takes them out of the window list), and they
    // come back, unpainted, once it is shown again.
    void PauseCoveredDocuments();
    void ResumeCoveredDocuments();

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    CImageFrame* DocumentOfTab(int index) const;
    int UnsavedCount() const;
    // Save As for each unsaved image in tab order, closing each as it is saved; a
    // cancelled Save As stops there and leaves that image and the rest open.
    void SaveAndCloseAll();
    void CloseAllUnsaved();
    // Closing documents draws neither the tabs nor the client until ResumeClientDrawing
    // draws what shows.
    void PauseClientDrawing();
    void ResumeClientDrawing();
    void OnDocActivated(HWND document);
    void OnDocPathChanged(HWND document, const char* path);
    LRESULT OnMdiDestroy(HWND document);
    LRESULT OnMdiSetMenu(WPARAM menu, LPARAM windowMenu);

    // A closed document goes after its window.
    void DropDocument(const CImageDocument* document);

    IOwner& m_owner;
    CMenuBar& m_menuBar;
    IImageEditors& m_editors;
    HWND m_hWndTabStrip = nullptr;
    CDpiScale m_dpi;
    CGuiFont m_tabFont;
    bool m_bDiscarding = false;  // 全部不保存: the documents close without their prompt
    std::vector<HWND> m_pausedDocuments;
    std::vector<std::unique_ptr<CImageDocument>> m_documents;
    bool m_bClosingAll = false;
    bool m_bClientPaused = false;
};
