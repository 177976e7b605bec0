#include "document/ImageView.h"

#include "document/DocumentMessages.h"
#include "document/DocumentTitle.h"
#include "document/ImageClipboard.h"
#include "document/ImageContextMenu.h"
#include "document/ImageFileDialogs.h"
#include "document/ImagePrinter.h"
#include "document/ImageStatusPanes.h"
#include "document/ImageViewClass.h"
#include "document/MarksCache.h"
#include "document/ViewArithmetic.h"
#include "document/ZoomTable.h"
#include "res/resource.h"
#include "ui/DpiScale.h"
#include "ui/MainFrameHandle.h"
#include "ui/UpdateUI.h"
#include "util/CharSearch.h"

namespace {
constexpr int kZoomPopup = 2;  // in the image popup

// One hatch for every view, kept until the process ends.
HBRUSH SharedBackground()
{
    static HBRUSH brush = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 0, 0));
    return brush;
}

// The hands are drawn at 16, 24 and 32 pixels.
HCURSOR LoadHandCursor(UINT id, int size)
{
    return static_cast<HCURSOR>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_CURSOR, size, size, 0));
}

void RegisterViewClass()
{
    WNDCLASSEXA existing{};
    if (GetClassInfoExA(GetModuleHandleA(nullptr), kImageViewClass, &existing))
        return;
    WNDCLASSEXA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kImageViewClass;
    CWindow::RegisterClass(wc);
}

}

CImageView::CImageView()
    : m_hbrBackground(SharedBackground())
{
}

CImageView::~CImageView()
{
    CMarksCache::Shared().Drop(this);
    DestroyWindow();
}

HWND CImageView::CreateView(HWND parent)
{
    RegisterViewClass();
    return Create(kImageViewClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE,
                  0, 0, 0, 0, parent, nullptr);
}

void CImageView::SetImage(HBITMAP bitmap, const char* path, bool saved, IImageEditors* editors,
                          std::vector<Annotation> objects)
{
    m_document.Adopt(bitmap, path, saved, std::move(objects));
    m_pEditors = editors;
    const SIZE size = m_document.ImageSize();
    SetContentSize(size.cx, size.cy, true, true);
    m_fZoom = 1.0f;
    m_nZoomIndex = kZoomIndexActual;
    UpdateCommandUI();
}

SIZE CImageView::ClientSize() const
{
    RECT client{};
    GetClientRect(Handle(), &client);
    return SIZE{client.right, client.bottom};
}

void CImageView::SetScrollBars(bool redraw)
{
    const SIZE content = m_scroll.Content(), view = m_scroll.View();
    const POINT offset = m_scroll.Offset();
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = content.cx - 1;
    info.nPage = static_cast<UINT>(view.cx);
    info.nPos = offset.x;
    SetScrollInfo(Handle(), SB_HORZ, &info, redraw);
    info.nMax = content.cy - 1;
    info.nPage = static_cast<UINT>(view.cy);
    info.nPos = offset.y;
    SetScrollInfo(Handle(), SB_VERT, &info, redraw);
}

void CImageView::SetContentSize(int cx, int cy, bool redraw, bool resetOffset)
{
    m_scroll.SetContent(SIZE{cx, cy}, resetOffset);
    CMarksCache::Shared().Drop(this);
    SetScrollBars(true);
    if (redraw)
        InvalidateRect(Handle(), nullptr, TRUE);
    m_annotations.ViewMoved();
}

void CImageView::SetZoom(float zoom)
{
    if (zoom == m_fZoom)
        return;
    const SIZE size = m_document.ImageSize();
    m_fZoom = zoom;
    SetContentSize(static_cast<int>(zoom * size.cx), static_cast<int>(zoom * size.cy), true, true);
}

void CImageView::ZoomToLevel(int index)
{
    index = index < 0 ? 0 : index >= kZoomLevelCount ? kZoomLevelCount - 1 : index;
    SetZoom(g_zoomLevels[index]);
    m_nZoomIndex = index;
    UpdateCommandUI();
}

void CImageView::ZoomInOut(UINT command)
{
    const int index = command == ID_ZOOM_IN ? ZoomInIndex(m_fZoom) : ZoomOutIndex(m_fZoom);
    if (index < 0)
        return;
    SetZoom(g_zoomLevels[index]);
    m_nZoomIndex = index;
    UpdateCommandUI();
}

void CImageView::FitToWindow()
{
    const SIZE image = m_document.ImageSize();
    if (image.cx <= 0 || image.cy <= 0)
        return;
    const SIZE client = ClientSize();
    const FitResult fit = FitZoom(client.cx, client.cy, image.cx, image.cy);
    m_fZoom = fit.zoom;
    SetContentSize(fit.content.cx, fit.content.cy, true, true);
    InvalidateRect(Handle(), nullptr, TRUE);
    m_nZoomIndex = FittedZoomIndex(m_fZoom);
    UpdateCommandUI();
}

void CImageView::ActualSize()
{
    const SIZE image = m_document.ImageSize();
    m_fZoom = 1.0f;
    SetContentSize(image.cx, image.cy, true, true);
    InvalidateRect(Handle(), nullptr, TRUE);
    m_nZoomIndex = kZoomIndexActual;
    UpdateCommandUI();
}

void CImageView::UpdateHandCursor()
{
    const SIZE client = ClientSize();
    const SIZE content = m_scroll.Content();
    if (client.cx < content.cx || client.cy < content.cy)
        m_nHandCursor = (GetKeyState(VK_LBUTTON) & 0xFF00) ? 1 : 0;
    else
        m_nHandCursor = -1;
    SendMessageA(Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void CImageView::UpdateCommandUI()
{
    if (!m_pUpdateUI || !m_document.Image())
        return;
    m_pUpdateUI->EnableCommand(ID_ZOOM_IN, CanZoomIn(m_fZoom));
    m_pUpdateUI->EnableCommand(ID_ZOOM_OUT, CanZoomOut(m_fZoom));
    m_pUpdateUI->EnableCommand(ID_ZOOM_ACTUAL, m_fZoom != 1.0f);
    m_pUpdateUI->EnableCommand(ID_FILE_SAVE, HasChanges());
    m_pUpdateUI->EnableCommand(ID_EDITORS, true);
    m_pUpdateUI->EnableCommand(ID_EDIT_COPY, true);
    m_pUpdateUI->EnableCommand(ID_FILE_PRINT, true);
    m_pUpdateUI->EnableCommand(ID_ANNOTATE_UNDO, m_document.Picture().CanUndo());
    m_pUpdateUI->EnableCommand(ID_ANNOTATE_REDO, m_document.Picture().CanRedo());

    const SIZE client = ClientSize(), content = m_scroll.Content();
    m_pUpdateUI->EnableCommand(ID_ZOOM_FIT, content.cx != client.cx && content.cy != client.cy);

    auto imageMenu = reinterpret_cast<HMENU>(
        SendMessageA(GetParent(Handle()), WM_APP_GET_IMAGE_MENU, kImageMenuRequest, 0));
    if (HMENU zoomMenu = imageMenu ? GetSubMenu(imageMenu, kZoomPopup) : nullptr) {
        if (m_nZoomIndex >= 0 && m_nZoomIndex < kZoomLevelCount) {
            CheckMenuRadioItem(zoomMenu, 0, kZoomLevelCount - 1, static_cast<UINT>(m_nZoomIndex), MF_BYPOSITION);
        } else {
            for (UINT position = 0; position < kZoomLevelCount; ++position)
                CheckMenuItem(zoomMenu, position, MF_BYPOSITION | MF_UNCHECKED);
        }
    }

    UpdateHandCursor();
    ShowImageStatus(*m_pUpdateUI, m_document.ImageSize(), m_fZoom);
}

LRESULT CImageView::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        // The user's lines per notch; later changes come through the main frame,
        // since the system tells only top-level windows.
        ReadWheelSettings();
        break;
    case WM_COMMAND:
        if (HIWORD(wParam) == EN_CHANGE) {
            OnTextChanged();
            return 0;
        }
        return OnCommand(LOWORD(wParam)) ? 0 : 1;
    case WM_CTLCOLOREDIT:
        return reinterpret_cast<LRESULT>(m_annotations.TextBoxColours(reinterpret_cast<HDC>(wParam)));
    case WM_KILLFOCUS:
        m_annotations.OnFocusLost();
        break;
    case WM_CONTEXTMENU:
        ShowImageContextMenu(Handle(), lParam);
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor(lParam))
            return TRUE;
        break;
    case WM_KEYDOWN:
        if (m_annotations.OnKeyDown(wParam) || OnKeyDown(wParam))
            return 0;
        break;
    case WM_KEYUP:
        m_annotations.OnKeyUp(wParam);
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnLButtonDown(lParam, msg == WM_LBUTTONDBLCLK);
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(lParam);
        return 0;
    case WM_APP_ANNOTATION_CHANGED:
        OnAnnotationChanged(static_cast<unsigned>(wParam));
        return 0;
    case WM_APP_FINISH_TEXT:
        m_annotations.FinishText();
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureChanged();
        return 0;
    case WM_HSCROLL:
        OnScroll(SB_HORZ, LOWORD(wParam));
        return 0;
    case WM_VSCROLL:
        OnScroll(SB_VERT, LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(static_cast<short>(HIWORD(wParam)));
        return 0;
    case WM_SETTINGCHANGE:
        ReadWheelSettings();
        return 0;
    }
    return DefaultProc(msg, wParam, lParam);
}

bool CImageView::OnCommand(UINT id)
{
    switch (id) {
    case ID_ZOOM_IN:
    case ID_ZOOM_OUT:
        ZoomInOut(id);
        return true;
    case ID_ZOOM_FIT:
        FitToWindow();
        return true;
    case ID_ZOOM_ACTUAL:
        ActualSize();
        return true;
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
        OnSaveImage();
        return true;
    case ID_EDIT_COPY:
        CopyImage();
        return true;
    case ID_FILE_PRINT:
        PrintDocument();
        return true;
    case ID_ANNOTATE_UNDO:
        m_annotations.Undo();
        return true;
    case ID_ANNOTATE_REDO:
        m_annotations.Redo();
        return true;
    }
    if (id >= ID_ZOOM_10 && id <= ID_ZOOM_3200) {
        ZoomToLevel(static_cast<int>(id - ID_ZOOM_10));
        return true;
    }
    if (id >= ID_EDITOR_FIRST && id <= ID_EDITOR_LAST) {
        RunEditor(static_cast<int>(id - ID_EDITOR_FIRST));
        return true;
    }
    return false;
}

void CImageView::CopyImage()
{
    m_annotations.FinishText();
    CBitmapOwner flattened;
    CopyImageOrReport(m_document.OutputImage(flattened), Handle());
}

// The job is named after the image as its tab names it.
void CImageView::PrintDocument()
{
    m_annotations.FinishText();
    CBitmapOwner flattened;
    HBITMAP output = m_document.OutputImage(flattened);
    char name[MAX_PATH];
    ReadDocumentName(GetParent(Handle()), name);
    PrintImage(g_hMainFrame, output, FileNamePart(name));
}

void CImageView::OnSaveImage()
{
    m_annotations.FinishText();
    char path[MAX_PATH];
    ReadDocumentName(GetParent(Handle()), path);
    const bool renames = m_document.IsModified();
    if (!m_document.SaveAs(path) || !renames)
        return;
    HWND document = GetParent(Handle());
    SetWindowTextA(document, path);
    SendMessageA(GetParent(document), WM_APP_DOC_PATH_CHANGED, reinterpret_cast<WPARAM>(document),
                 reinterpret_cast<LPARAM>(path));
    UpdateCommandUI();
}

void CImageView::RunEditor(int index)
{
    m_annotations.FinishText();
    if (m_document.IsModified()) {
        OnSaveImage();
        if (m_document.IsModified())
            return;
    }
    if (m_pEditors)
        m_document.OpenInEditor(*m_pEditors, index);
}

bool CImageView::SaveBeforeClose()
{
    m_annotations.FinishText();
    if (!m_document.IsModified())
        return true;
    char path[MAX_PATH];
    ReadDocumentName(GetParent(Handle()), path);
    return m_document.SaveAs(path);
}

void CImageView::ScrollClient(int dx, int dy)
{
    ScrollWindowEx(Handle(), dx, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
    CMarksCache::Shared().Scroll(this, dx, dy);
    m_annotations.ViewMoved();
}

// The text being typed counts as a change from the first key on.
void CImageView::OnTextChanged()
{
    m_annotations.TextChanged();
    UpdateTitle();
    UpdateCommandUI();
}

void CImageView::MarksChanged()
{
    CMarksCache::Shared().Drop(this);
}

void CImageView::PictureEdited()
{
    const SIZE size = m_document.ImageSize(), content = m_scroll.Content();
    const SIZE scaled{static_cast<LONG>(m_fZoom * size.cx), static_cast<LONG>(m_fZoom * size.cy)};
    if (scaled.cx != content.cx || scaled.cy != content.cy)
        SetContentSize(scaled.cx, scaled.cy, true, false);
    UpdateTitle();
    UpdateCommandUI();
}

// The star after the name follows the modified state.
void CImageView::UpdateTitle()
{
    HWND document = GetParent(Handle());
    char name[MAX_PATH];
    ReadDocumentName(document, name);
    char title[MAX_PATH + 1];
    lstrcpynA(title, name, MAX_PATH);
    if (HasChanges())
        lstrcatA(title, "*");
    char shown[MAX_PATH + 1];
    GetWindowTextA(document, shown, sizeof(shown));
    if (lstrcmpA(shown, title) == 0)
        return;
    SetWindowTextA(document, title);
    SendMessageA(GetParent(document), WM_APP_DOC_PATH_CHANGED, reinterpret_cast<WPARAM>(document),
                 reinterpret_cast<LPARAM>(title));
}

void CImageView::OnAnnotationChanged(unsigned properties)
{
    if (properties)
        m_annotations.ApplyProperties(properties);
    else
        m_annotations.ToolChanged();
    UpdateHandCursor();
}

void CImageView::OnSize(int width, int height)
{
    UpdateCommandUI();
    const POINT old = m_scroll.Offset();
    m_scroll.SetView(SIZE{width, height});
    SetScrollBars(true);
    const POINT now = m_scroll.Offset();
    if (now.x != old.x || now.y != old.y) {
        ScrollClient(old.x - now.x, old.y - now.y);
        SetScrollPos(Handle(), SB_HORZ, now.x, FALSE);
        SetScrollPos(Handle(), SB_VERT, now.y, FALSE);
    }
}

bool CImageView::OnSetCursor(LPARAM lParam)
{
    if (LOWORD(lParam) != HTCLIENT)
        return false;
    if (m_annotations.HandlesMouse() && !m_bDragging) {
        POINT point{};
        GetCursorPos(&point);
        ScreenToClient(Handle(), &point);
        if (HCURSOR cursor = m_annotations.Cursor(point)) {
            SetCursor(cursor);
            return true;
        }
    }
    if (m_nHandCursor == -1)
        return false;
    LoadHandCursors();
    SetCursor(m_hHandCursors[m_nHandCursor].get());
    return true;
}

// The hands in the size for the view's DPI, loaded again after it moved to a monitor
// of another DPI.
void CImageView::LoadHandCursors()
{
    const int size = CDpiScale::OfWindow(Handle()).PictureLength(16);
    if (size == m_nHandCursorSize)
        return;
    m_hHandCursors[0].reset(LoadHandCursor(IDC_HAND_OPEN, size));
    m_hHandCursors[1].reset(LoadHandCursor(IDC_HAND_CLOSED, size));
    m_nHandCursorSize = size;
}

bool CImageView::OnKeyDown(WPARAM key)
{
    switch (key) {
    case VK_UP:
        OnScroll(SB_VERT, SB_LINEUP);
        return true;
    case VK_DOWN:
        OnScroll(SB_VERT, SB_LINEDOWN);
        return true;
    case VK_PRIOR:
        OnScroll(SB_VERT, SB_PAGEUP);
        return true;
    case VK_NEXT:
        OnScroll(SB_VERT, SB_PAGEDOWN);
        return true;
    case VK_HOME:
        OnScroll(SB_VERT, SB_TOP);
        return true;
    case VK_END:
        OnScroll(SB_VERT, SB_BOTTOM);
        return true;
    case VK_LEFT:
        OnScroll(SB_HORZ, SB_LINELEFT);
        return true;
    case VK_RIGHT:
        OnScroll(SB_HORZ, SB_LINERIGHT);
        return true;
    }
    return false;
}

void CImageView::OnScroll(int bar, int code)
{
    int track = 0;
    if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(Handle(), bar, &info);
        track = info.nTrackPos;
    }
    const int target = m_scroll.Target(bar, code, ClientSize(), track);
    if (target >= 0)
        ScrollTo(bar, target);
}

void CImageView::ScrollTo(int bar, int position)
{
    const POINT offset = m_scroll.Offset();
    const int current = bar == SB_HORZ ? offset.x : offset.y;
    if (position == current)
        return;
    const int delta = current - position;
    m_scroll.MoveTo(bar, position);
    SetScrollPos(Handle(), bar, position, TRUE);
    ScrollClient(bar == SB_HORZ ? delta : 0, bar == SB_VERT ? delta : 0);
}

void CImageView::OnMouseWheel(int delta)
{
    const bool pages = m_nNotchLines == -1;
    const int code = delta > 0 ? (pages ? SB_PAGEUP : SB_LINEUP) : (pages ? SB_PAGEDOWN : SB_LINEDOWN);
    const int steps = WheelSteps(m_nWheelAccum, delta, m_nNotchLines);
    for (int i = 0; i < steps; ++i) {
        OnScroll(m_scroll.Content().cy > ClientSize().cy ? SB_VERT : SB_HORZ, code);
        UpdateWindow(Handle());
    }
}

void CImageView::ReadWheelSettings()
{
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    m_nNotchLines = static_cast<int>(lines);
    // An old wheel driver answers for itself.
    if (HWND driver = FindWindowA("MouseZ", "Magellan MSWHEEL")) {
        const UINT message = RegisterWindowMessageA("MSH_SCROLL_LINES_MSG");
        m_nNotchLines = static_cast<int>(SendMessageA(driver, message, 0, 0));
    }
}

void CImageView::OnLButtonDown(LPARAM lParam, bool doubleClick)
{
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (m_annotations.HandlesMouse()) {
        SetFocus(Handle());
        m_annotations.OnButtonDown(point, (GetKeyState(VK_SHIFT) & 0x8000) != 0, doubleClick);
        return;
    }
    m_bDragging = 1;
    m_ptLastMouse = point;
    SetCapture(Handle());
    UpdateHandCursor();
}

// The image follows the mouse.
void CImageView::OnMouseMove(LPARAM lParam)
{
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (m_annotations.IsDragging()) {
        m_annotations.OnMouseMove(point, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
        return;
    }
    if (!m_bDragging)
        return;
    const int dx = point.x - m_ptLastMouse.x;
    const int dy = point.y - m_ptLastMouse.y;
    m_ptLastMouse = point;
    const POINT offset = m_scroll.Offset(), target = m_scroll.Dragged(dx, dy, ClientSize());
    if (target.x == offset.x && target.y == offset.y)
        return;
    ScrollClient(offset.x - target.x, offset.y - target.y);
    SetScrollPos(Handle(), SB_HORZ, target.x, TRUE);
    SetScrollPos(Handle(), SB_VERT, target.y, TRUE);
    m_scroll.MoveTo(target);
}

void CImageView::OnLButtonUp(LPARAM lParam)
{
    if (m_annotations.IsDragging()) {
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        m_annotations.OnButtonUp(point, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
        return;
    }
    m_bDragging = 0;
    ReleaseCapture();
    UpdateHandCursor();
}

// Another window took the mouse in the middle of a drag (a switch to another program,
// a window of its own): the button-up will go there, so the drag ends here and now,
// or every later move over the view would still pan.
void CImageView::OnCaptureChanged()
{
    m_annotations.OnCaptureLost();
    if (!m_bDragging)
        return;
    m_bDragging = 0;
    UpdateHandCursor();
}
