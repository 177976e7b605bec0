#include "document/ImageView.h"

#include "document/DocumentMessages.h"
#include "document/ImageContextMenu.h"
#include "document/ImageStatusPanes.h"
#include "document/ImageViewClass.h"
#include "document/MarksCache.h"
#include "document/ViewArithmetic.h"
#include "document/ZoomTable.h"
#include "res/resource.h"
#include "ui/DpiScale.h"
#include "ui/UpdateUI.h"
#include "util/AppMessageBox.h"
#include "util/SystemReason.h"

namespace {
constexpr int kZoomPopup = 2;  // in the image popup

// One hatch for every view, kept until the process ends.
HBRUSH SharedBackground()
{
    static HBRUSH brush = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 0, 0));
    return brush;
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

POINT PointOf(LPARAM lParam)
{
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// The modifier keys held as the message being handled came.
unsigned KeysHeld()
{
    const auto held = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
    return (held(VK_SHIFT) ? kShiftKey : 0u) | (held(VK_CONTROL) ? kControlKey : 0u) | (held(VK_MENU) ? kAltKey : 0u);
}
}

CImageView::CImageView(CImageDocument& document)
    : m_document(document), m_hbrBackground(SharedBackground())
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

void CImageView::ShowNewImage()
{
    const SIZE size = m_document.ImageSize();
    m_fZoom = 1.0f;
    m_nZoomIndex = kZoomIndexActual;
    SetContentSize(size.cx, size.cy, true, true);
    UpdateCommandUI();
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
        return reinterpret_cast<LRESULT>(m_textBox.PaintColours(reinterpret_cast<HDC>(wParam)));
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
        if (m_annotations.OnKeyDown(wParam, KeysHeld()) || OnKeyDown(wParam))
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
    return false;
}

void CImageView::MarksChanged()
{
    CMarksCache::Shared().Drop(this);
}

void CImageView::MarksChangedIn(const RECT& client)
{
    CMarksCache::Shared().Forget(this, client);
}

int CImageView::ScreenPixels(int pixelsAt96Dpi) const
{
    return CDpiScale::OfWindow(Handle()).Scale(pixelsAt96Dpi);
}

void CImageView::ReportFailure(UINT messageId, DWORD error)
{
    AppMessageBox(Handle(), messageId, MB_ICONHAND | MB_OK, SystemReason(error).c_str());
}

void CImageView::PictureEdited()
{
    const SIZE size = m_document.ImageSize(), content = m_scroll.Content();
    const SIZE scaled{static_cast<LONG>(m_fZoom * size.cx), static_cast<LONG>(m_fZoom * size.cy)};
    if (scaled.cx != content.cx || scaled.cy != content.cy)
        SetContentSize(scaled.cx, scaled.cy, true, false);
    OnDocumentEdited();
}

// The text being typed counts as a change from the first key on.
void CImageView::OnTextChanged()
{
    m_textBox.FitLines();
    OnDocumentEdited();
}

void CImageView::OnDocumentEdited()
{
    SendMessageA(GetParent(Handle()), WM_APP_DOC_EDITED, 0, 0);
    UpdateCommandUI();
}

void CImageView::OnAnnotationChanged(unsigned properties)
{
    if (properties)
        m_annotations.ApplyProperties(properties);
    else
        m_annotations.ToolChanged();
    UpdateHandCursor();
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
    SetCursor(m_handCursors.Get(Handle(), m_nHandCursor == 1));
    return true;
}

void CImageView::OnLButtonDown(LPARAM lParam, bool doubleClick)
{
    const POINT point = PointOf(lParam);
    if (m_annotations.HandlesMouse()) {
        SetFocus(Handle());
        m_annotations.OnButtonDown(point, KeysHeld(), doubleClick);
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
    const POINT point = PointOf(lParam);
    if (m_annotations.IsDragging()) {
        m_annotations.OnMouseMove(point, KeysHeld());
        return;
    }
    if (!m_bDragging)
        return;
    const int dx = point.x - m_ptLastMouse.x;
    const int dy = point.y - m_ptLastMouse.y;
    m_ptLastMouse = point;
    Pan(dx, dy);
}

void CImageView::OnLButtonUp(LPARAM lParam)
{
    if (m_annotations.IsDragging()) {
        m_annotations.OnButtonUp(PointOf(lParam), KeysHeld());
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
