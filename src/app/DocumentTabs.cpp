#include "app/DocumentTabs.h"

#include <commctrl.h>

#include <algorithm>

#include "app/Application.h"
#include "app/CloseAllDialog.h"
#include "document/DocumentMessages.h"
#include "document/ImageFrame.h"
#include "document/ImageStatusPanes.h"
#include "res/resource.h"
#include "ui/MenuBar.h"
#include "ui/RedrawPause.h"
#include "ui/UpdateUI.h"
#include "util/CharSearch.h"

namespace {
constexpr UINT kMdiClientId = 0xE900;
constexpr UINT kFirstMdiChildId = 0xFF00;

int TabCount(HWND tabs)
{
    return static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
}

BOOL CALLBACK PassSettingChangeTo(HWND child, LPARAM message)
{
    const MSG* pMessage = reinterpret_cast<const MSG*>(message);
    SendMessageA(child, WM_SETTINGCHANGE, pMessage->wParam, pMessage->lParam);
    return TRUE;
}
}

CDocumentTabs::CDocumentTabs(IOwner& owner, CMenuBar& menuBar, IImageEditors& editors)
    : m_owner(owner), m_menuBar(menuBar), m_editors(editors)
{
}

CDocumentTabs::~CDocumentTabs() = default;

bool CDocumentTabs::Create(HWND frame)
{
    m_hWndTabStrip = CreateWindowExA(0, WC_TABCONTROLA, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame, nullptr,
                                     g_app.Instance(), nullptr);
    ChangeDpi(CDpiScale::OfWindow(frame));

    // The scroll bars belong to the client, not to the frame.
    const LONG_PTR frameStyle = GetWindowLongPtrA(frame, GWL_STYLE);
    const DWORD scrollBars = static_cast<DWORD>(frameStyle) & (WS_HSCROLL | WS_VSCROLL);
    if (scrollBars)
        SetWindowLongPtrA(frame, GWL_STYLE, frameStyle & ~static_cast<LONG_PTR>(scrollBars));
    CLIENTCREATESTRUCT create{};
    create.idFirstChild = kFirstMdiChildId;
    HWND client = CreateWindowExA(WS_EX_CLIENTEDGE, "MDIClient", nullptr,
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | MDIS_ALLCHILDSTYLES |
                                      scrollBars,
                                  0, 0, 0, 0, frame, reinterpret_cast<HMENU>(kMdiClientId), g_app.Instance(), &create);
    if (!client)
        return false;
    SetWindowPos(client, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Subclass(client);
    m_owner.RecalcFrameLayout(true);
    return true;
}

void CDocumentTabs::ChangeDpi(const CDpiScale& dpi)
{
    m_dpi = dpi;
    m_tabFont.SetDpi(dpi);
    if (m_hWndTabStrip)
        SendMessageA(m_hWndTabStrip, WM_SETFONT, reinterpret_cast<WPARAM>(m_tabFont.Handle()), 0);
}

HWND CDocumentTabs::ActiveDocument() const
{
    if (!Handle())
        return nullptr;
    return reinterpret_cast<HWND>(SendMessageA(Handle(), WM_MDIGETACTIVE, 0, 0));
}

void CDocumentTabs::Layout(const RECT& area)
{
    constexpr UINT placement = SWP_NOZORDER | SWP_NOACTIVATE;
    int top = area.top;
    if (m_hWndTabStrip) {
        SetWindowPos(m_hWndTabStrip, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     placement);
        if (TabCount(m_hWndTabStrip) > 0) {
            RECT display = area;
            SendMessageA(m_hWndTabStrip, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
            top = display.top + m_dpi.Scale(2);
        }
    }
    if (Handle())
        SetWindowPos(Handle(), nullptr, area.left, top, area.right - area.left,
                     area.bottom > top ? area.bottom - top : 0, placement);
}

bool CDocumentTabs::CreateImageDocument(CBitmapOwner bitmap, const char* name, bool saved,
                                        std::vector<Annotation> objects)
{
    const char* title = FileNamePart(name);
    const bool documentWasActive = ActiveDocument() != nullptr;
    const CMenuBar::CRebuildHold menuBarHold(m_menuBar);
    // The first document would redraw its scroll bars and frames at every step of its
    // creation, maximising and layout; the client is drawn once when all is done
    // instead. (A document created over a maximised one does the same on its own.)
    const CRedrawPause pause(documentWasActive ? nullptr : Handle());
    auto image = std::make_unique<CImageDocument>();
    CImageFrame* document = CImageFrame::Create(Handle(), title, *image, m_editors);
    if (!document)
        return false;
    m_documents.push_back(std::move(image));
    if (!documentWasActive)
        SendMessageA(Handle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(document->Handle()), 0);

    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<char*>(title);
    item.lParam = reinterpret_cast<LPARAM>(document);
    const LRESULT index =
        SendMessageA(m_hWndTabStrip, TCM_INSERTITEMA, TabCount(m_hWndTabStrip), reinterpret_cast<LPARAM>(&item));
    SendMessageA(m_hWndTabStrip, TCM_SETCURSEL, index, 0);

    document->Document().Adopt(std::move(bitmap), name, saved, std::move(objects));
    document->View().ShowNewImage();
    m_owner.OnDocumentCreated(*document);
    m_owner.RecalcFrameLayout(true);
    // A capture's document comes while the frame is away, over the one it now covers.
    if (!IsWindowVisible(GetParent(Handle())))
        PauseCoveredDocuments();
    return true;
}

CImageFrame* CDocumentTabs::DocumentOfTab(int index) const
{
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    if (!SendMessageA(m_hWndTabStrip, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return reinterpret_cast<CImageFrame*>(item.lParam);
}

int CDocumentTabs::FindTab(HWND document, CImageFrame** frame) const
{
    for (int index = 0, count = TabCount(m_hWndTabStrip); index < count; ++index) {
        CImageFrame* candidate = DocumentOfTab(index);
        if (candidate && candidate->Handle() == document) {
            if (frame)
                *frame = candidate;
            return index;
        }
    }
    if (frame)
        *frame = nullptr;
    return -1;
}

void CDocumentTabs::OnTabSelChange()
{
    const int index = static_cast<int>(SendMessageA(m_hWndTabStrip, TCM_GETCURSEL, 0, 0));
    CImageFrame* document = index >= 0 ? DocumentOfTab(index) : nullptr;
    if (document && document->Handle() != ActiveDocument())
        SendMessageA(Handle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(document->Handle()), 0);
}

bool CDocumentTabs::OnCommand(UINT id)
{
    switch (id) {
    case ID_WINDOW_CASCADE:
        SendMessageA(Handle(), WM_MDICASCADE, 0, 0);
        return true;
    case ID_WINDOW_TILE_HORZ:
        SendMessageA(Handle(), WM_MDITILE, MDITILE_HORIZONTAL, 0);
        return true;
    case ID_WINDOW_ARRANGE:
        SendMessageA(Handle(), WM_MDIICONARRANGE, 0, 0);
        return true;
    case ID_FILE_CLOSE:
        if (HWND document = ActiveDocument())
            SendMessageA(Handle(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(document), 0);
        return true;
    case ID_WINDOW_CLOSE_ALL:
        CloseAllAskingOnce();
        return true;
    }
    return false;
}

void CDocumentTabs::PassSettingChange(WPARAM wParam, LPARAM lParam)
{
    if (!Handle())
        return;
    MSG message{};
    message.wParam = wParam;
    message.lParam = lParam;
    EnumChildWindows(Handle(), PassSettingChangeTo, reinterpret_cast<LPARAM>(&message));
}

// The client is drawn once at the end, not as every document brings up the next.
bool CDocumentTabs::CloseAll()
{
    bool closed = true;
    m_bClosingAll = true;
    while (HWND document = ActiveDocument()) {
        SendMessageA(Handle(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(document), 0);
        if (IsWindow(document)) {
            closed = false;
            break;
        }
    }
    m_bClosingAll = false;
    ResumeClientDrawing();
    return closed;
}

int CDocumentTabs::UnsavedCount() const
{
    int unsaved = 0;
    for (int index = 0, count = TabCount(m_hWndTabStrip); index < count; ++index)
        if (CImageFrame* document = DocumentOfTab(index); document && document->Document().IsModified())
            ++unsaved;
    return unsaved;
}

void CDocumentTabs::CloseAllAskingOnce()
{
    // A text being typed is counted as the change it is.
    for (int index = 0, count = TabCount(m_hWndTabStrip); index < count; ++index)
        if (CImageFrame* document = DocumentOfTab(index))
            document->FinishText();
    const int unsaved = UnsavedCount();
    if (unsaved < 2) {
        CloseAll();
        return;
    }
    switch (CCloseAllDialog(unsaved).DoModal(GetParent(Handle()))) {
    case IDC_SAVE_ALL:
        SaveAndCloseAll();
        break;
    case IDC_DISCARD_ALL:
        CloseAllUnsaved();
        break;
    }
}

void CDocumentTabs::SaveAndCloseAll()
{
    while (CImageFrame* document = DocumentOfTab(0)) {
        HWND window = document->Handle();
        if (document->Document().IsModified()) {
            // The user sees which image the Save As dialog is for.
            SendMessageA(Handle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(window), 0);
            if (!document->SaveBeforeClose())
                return;
        }
        SendMessageA(Handle(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(window), 0);
        if (IsWindow(window))
            return;
    }
}

void CDocumentTabs::PauseCoveredDocuments()
{
    BOOL maximized = FALSE;
    HWND active = Handle() ? reinterpret_cast<HWND>(SendMessageA(Handle(), WM_MDIGETACTIVE, 0,
                                                                 reinterpret_cast<LPARAM>(&maximized)))
                           : nullptr;
    if (!active || !maximized)
        return;
    for (int index = 0, count = TabCount(m_hWndTabStrip); index < count; ++index) {
        CImageFrame* document = DocumentOfTab(index);
        HWND window = document ? document->Handle() : nullptr;
        if (!window || window == active || !(GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE))
            continue;
        SendMessageA(window, WM_SETREDRAW, FALSE, 0);
        m_pausedDocuments.push_back(window);
    }
}

void CDocumentTabs::ResumeCoveredDocuments()
{
    if (m_pausedDocuments.empty())
        return;
    for (HWND window : m_pausedDocuments)
        if (IsWindow(window))
            SendMessageA(window, WM_SETREDRAW, TRUE, 0);
    m_pausedDocuments.clear();
    DefaultProc(WM_MDIREFRESHMENU, 0, 0);
}

void CDocumentTabs::CloseAllUnsaved()
{
    m_bDiscarding = true;
    CloseAll();
    m_bDiscarding = false;
}

void CDocumentTabs::PauseClientDrawing()
{
    if (m_bClientPaused)
        return;
    SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
    SendMessageA(m_hWndTabStrip, WM_SETREDRAW, FALSE, 0);
    m_bClientPaused = true;
}

// The tabs, and over a maximised document only that one: the ones it covers are not seen.
void CDocumentTabs::ResumeClientDrawing()
{
    if (!m_bClientPaused)
        return;
    m_bClientPaused = false;
    SendMessageA(m_hWndTabStrip, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(m_hWndTabStrip, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
    BOOL maximized = FALSE;
    HWND active = reinterpret_cast<HWND>(SendMessageA(Handle(), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
    constexpr UINT redraw = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN;
    RedrawWindow(active && maximized ? active : Handle(), nullptr, nullptr, redraw);
}

LRESULT CDocumentTabs::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_APP_DOC_ACTIVATED:
        OnDocActivated(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_APP_DOC_PATH_CHANGED:
        OnDocPathChanged(reinterpret_cast<HWND>(wParam), reinterpret_cast<const char*>(lParam));
        return 0;
    case WM_MDIDESTROY:
        return OnMdiDestroy(reinterpret_cast<HWND>(wParam));
    case WM_MDISETMENU:
        return OnMdiSetMenu(wParam, lParam);
    }
    return DefaultProc(msg, wParam, lParam);
}

// A new document is activated before its tab exists; its selection then comes
// from the creation itself.
void CDocumentTabs::OnDocActivated(HWND document)
{
    const int index = FindTab(document);
    if (index != SendMessageA(m_hWndTabStrip, TCM_GETCURSEL, 0, 0))
        SendMessageA(m_hWndTabStrip, TCM_SETCURSEL, index, 0);
    m_menuBar.SyncMdiChild();
}

void CDocumentTabs::OnDocPathChanged(HWND document, const char* path)
{
    const int index = FindTab(document);
    if (index < 0 || !path)
        return;
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(FileNamePart(path));
    SendMessageA(m_hWndTabStrip, TCM_SETITEMA, index, reinterpret_cast<LPARAM>(&item));
    // The window list under 窗口 is built from the titles and keeps the old one.
    DefaultProc(WM_MDIREFRESHMENU, 0, 0);
}

// The document decides whether it may close; its tab goes with it.
LRESULT CDocumentTabs::OnMdiDestroy(HWND document)
{
    CImageFrame* frame = nullptr;
    const int index = FindTab(document, &frame);
    if (frame && !m_bDiscarding) {
        frame->FinishText();
        // The image asked about is the one on the screen.
        if (frame->Document().IsModified())
            ResumeClientDrawing();
        if (!frame->QueryClose())
            return 0;
    }
    // Closing the shown document brings up the next one, and Wine would paint every
    // document under it as well.
    PauseClientDrawing();
    if (index >= 0) {
        SendMessageA(m_hWndTabStrip, TCM_DELETEITEM, index, 0);
        if (TabCount(m_hWndTabStrip) == 0)
            m_owner.OnLastDocumentClosed();
    }
    const CImageDocument* closed = frame ? &frame->Document() : nullptr;
    const LRESULT result = DefaultProc(WM_MDIDESTROY, reinterpret_cast<WPARAM>(document), 0);
    if (!IsWindow(document))
        DropDocument(closed);
    // The last view showed its size and zoom until its window was gone.
    if (TabCount(m_hWndTabStrip) == 0)
        ClearImageStatus(g_updateUI);
    if (!m_bClosingAll)
        ResumeClientDrawing();
    return result;
}

void CDocumentTabs::DropDocument(const CImageDocument* document)
{
    m_documents.erase(std::remove_if(m_documents.begin(), m_documents.end(),
                                     [document](const auto& held) { return held.get() == document; }),
                      m_documents.end());
}

// The menu bar shows the document's menu; the client only keeps the window list, so
// it never puts a menu on the frame itself.
LRESULT CDocumentTabs::OnMdiSetMenu(WPARAM menu, LPARAM windowMenu)
{
    if (menu)
        m_menuBar.AttachMenu(reinterpret_cast<HMENU>(menu));
    const LRESULT result = DefaultProc(WM_MDISETMENU, 0, windowMenu);
    // A client that had no window menu before takes the new one without listing the
    // open windows in it, so the first document would be missing.
    DefaultProc(WM_MDIREFRESHMENU, 0, 0);
    return result;
}
