#include "capture/desk/DeskWindow.h"

#include "annotate/AnnotationPainter.h"
#include "capture/CaptureNames.h"
#include "capture/LoopMessage.h"
#include "document/DocumentMessages.h"
#include "document/ImageFileDialogs.h"
#include "imageio/BitmapPart.h"
#include "imageio/ImageFormats.h"
#include "imageio/TopDownDib.h"
#include "res/resource.h"
#include "ui/ModifierKeys.h"

namespace {
const char kDeskClass[] = "LumigrabCaptureDesk";
constexpr UINT kTakeKeyboard = WM_APP + 120;
constexpr UINT_PTR kKeyboardTimer = 1;
constexpr DWORD kKeyboardMs = 1000;

struct ToolKey {
    char key;
    AnnotationTool tool;
};
const ToolKey kToolKeys[] = {
    {'R', AnnotationTool::kRectangle}, {'E', AnnotationTool::kEllipse}, {'A', AnnotationTool::kArrow},
    {'L', AnnotationTool::kLine},      {'P', AnnotationTool::kPen},     {'I', AnnotationTool::kHighlighter},
    {'T', AnnotationTool::kText},      {'N', AnnotationTool::kStep},    {'X', AnnotationTool::kRedact},
    {'M', AnnotationTool::kMosaic},
};

void RegisterDeskClass()
{
    WNDCLASSEXA existing{};
    if (GetClassInfoExA(GetModuleHandleA(nullptr), kDeskClass, &existing))
        return;
    WNDCLASSEXA wc{};
    wc.style = CS_DBLCLKS;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kDeskClass;
    CWindow::RegisterClass(wc);
}

POINT PointOf(LPARAM lParam)
{
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

bool KeyDown(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

// The pixels of a DIB section of 32 bits a pixel, taken to be in the program's layout, to be
// read in place (GDI does not tell which way up the rows go); null for a bitmap of any other
// kind.
const DWORD* LayoutPixels(HBITMAP bitmap, SIZE& size)
{
    DIBSECTION dib{};
    if (GetObject(bitmap, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBitsPixel != 32)
        return nullptr;
    size = SIZE{dib.dsBm.bmWidth, dib.dsBm.bmHeight};
    return static_cast<const DWORD*>(dib.dsBm.bmBits);
}

}  // namespace

CDeskWindow::CDeskWindow(CAnnotationTools& tools, const CSettings& settings)
    : m_tools(tools), m_settings(settings), m_previousTool(tools.Tool())
{
    m_controller.SetTools(&m_tools);
}

CDeskWindow::~CDeskWindow()
{
    DestroyWindow();
    if (m_bShown)
        m_tools.SetTool(m_previousTool);
}

bool CDeskWindow::Prepare()
{
    if (Handle())
        return true;
    RegisterDeskClass();
    // Over the virtual screen already, so that showing it is rarely also a move.
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    if (!Create(kDeskClass, "", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, left, top,
                GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN), nullptr, nullptr))
        return false;
    // The desk works without its bar, by keys.
    if (!m_toolBar.Create(Handle()))
        m_toolBar.DestroyWindow();
    POINT pointer{};
    GetCursorPos(&pointer);
    m_toolBar.PrepareFor(RECT{pointer.x, pointer.y, pointer.x + 1, pointer.y + 1});
    return true;
}

bool CDeskWindow::UseFrame(HBITMAP frame)
{
    m_pFramePixels = LayoutPixels(frame, m_frameSize);
    return m_pFramePixels && Prepare();
}

bool CDeskWindow::Show(HBITMAP frame, POINT frameOrigin, const RECT& selection)
{
    if (!UseFrame(frame))
        return false;
    m_ptDeskOrigin = frameOrigin;
    m_deskSize = m_frameSize;
    RECT inDesk = selection;
    OffsetRect(&inDesk, -frameOrigin.x, -frameOrigin.y);
    return ShowDesk(frame, inDesk, RECT{0, 0, m_frameSize.cx, m_frameSize.cy});
}

bool CDeskWindow::ShowDesk(HBITMAP frame, const RECT& selection, const RECT& bounds)
{
    GdiFlush();  // what GDI drew into the frame is there to read
    m_hFrame = frame;
    m_selection = CDeskSelection(selection, bounds);
    // The desk starts with no tool, so that a drag inside the selection moves it.
    m_previousTool = m_tools.Tool();
    m_tools.SetTool(AnnotationTool::kHand);
    m_bShown = true;
    if (m_toolBar.Handle()) {
        UpdateToolBar();
        PlaceToolBar();
    }
    SetWindowPos(Handle(), HWND_TOPMOST, m_ptDeskOrigin.x, m_ptDeskOrigin.y, m_deskSize.cx, m_deskSize.cy,
                 SWP_SHOWWINDOW);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    m_dwShownAt = GetTickCount();
    PostMessageA(Handle(), kTakeKeyboard, 0, 0);
    SetTimer(Handle(), kKeyboardTimer, 100, nullptr);
    return true;
}

DeskResult CDeskWindow::Run()
{
    // Every message of the thread is dispatched meanwhile, so the caller's windows keep
    // painting; a quit request ends the desk and is passed on.
    MSG message;
    while (!m_bDone) {
        if (!GetLoopMessage(message))
            break;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    DestroyWindow();
    return std::move(m_result);
}

size_t CDeskWindow::PictureBytes() const
{
    if (!m_picture.Bitmap())
        return 0;
    BITMAP info{};
    GetObject(m_picture.Bitmap(), sizeof(info), &info);
    return static_cast<size_t>(info.bmWidthBytes) * static_cast<size_t>(info.bmHeight);
}

LRESULT CDeskWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint covers every pixel
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnButtonDown(PointOf(lParam), msg == WM_LBUTTONDBLCLK);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(PointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(PointOf(lParam));
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_RBUTTONUP:  // on release, so that the release reaches no window below
        OnRightButtonUp();
        return 0;
    case WM_CAPTURECHANGED:
        m_selection.EndDrag();
        m_controller.OnCaptureLost();
        return 0;
    case WM_SETCURSOR:
        // Over the toolbar, its own shapes.
        if (reinterpret_cast<HWND>(wParam) == Handle() && LOWORD(lParam) == HTCLIENT && OnSetCursor())
            return TRUE;
        break;
    case WM_COMMAND:
        if (HIWORD(wParam) == EN_CHANGE)
            m_surface.Box().FitLines();
        else
            OnCommand(LOWORD(wParam));
        return 0;
    case WM_CTLCOLOREDIT:
        return reinterpret_cast<LRESULT>(m_surface.Box().PaintColours(reinterpret_cast<HDC>(wParam)));
    case WM_APP_FINISH_TEXT:
        m_controller.FinishText();
        return 0;
    case WM_KILLFOCUS:
        m_controller.OnFocusLost();
        break;
    case kTakeKeyboard:
        TakeKeyboard();
        return 0;
    case WM_TIMER:
        if (wParam == kKeyboardTimer) {
            if (GetTickCount() - m_dwShownAt < kKeyboardMs)
                TakeKeyboard();
            else
                KillTimer(Handle(), kKeyboardTimer);
        }
        return 0;
    case WM_CLOSE:
        Finish(DeskAction::kCancelled);
        return 0;
    }
    return DefaultProc(msg, wParam, lParam);
}

// Asked from the desk's own messages and again for a moment, as the capture overlay does:
// under Wine the X focus request carries the time of the thread's last message, and the
// notification area's window may take the focus back after the desk took it.
void CDeskWindow::TakeKeyboard()
{
    // A text box being typed in keeps the keys, and so does a dialog over the desk (Save As
    // opened in the moment after showing).
    if ((m_surface.Box().IsOpen() && GetForegroundWindow() == Handle()) || !IsWindowEnabled(Handle()))
        return;
    SetForegroundWindow(Handle());
    SetActiveWindow(Handle());
    SetFocus(nullptr);
    SetFocus(Handle());
    ForgetModifiersLetGoElsewhere();
}

void CDeskWindow::SelectionChanged(const RECT& before)
{
    const RECT& after = Selection();
    // The dimming changes where exactly one of the two rectangles lies.
    const CRegionOwner change(CreateRectRgnIndirect(&before)), now(CreateRectRgnIndirect(&after));
    CombineRgn(change.get(), change.get(), now.get(), RGN_XOR);
    InvalidateRgn(Handle(), change.get(), FALSE);
    InvalidateDecor(before);
    InvalidateDecor(after);
    PlaceToolBar();
}

unsigned CDeskWindow::HeldKeys()
{
    return (KeyDown(VK_SHIFT) ? kShiftKey : 0u) | (KeyDown(VK_CONTROL) ? kControlKey : 0u) |
           (KeyDown(VK_MENU) ? kAltKey : 0u);
}

bool CDeskWindow::IsWorkInProgress()
{
    return m_controller.IsDragging() || m_selection.IsDragging() || m_surface.Box().IsOpen();
}

bool CDeskWindow::IsDrawingTool() const
{
    const AnnotationTool tool = m_tools.Tool();
    return tool != AnnotationTool::kHand && tool != AnnotationTool::kSelect && tool != AnnotationTool::kCrop;
}

void CDeskWindow::OnKeyDown(WPARAM key)
{
    const bool control = KeyDown(VK_CONTROL);
    switch (key) {
    case VK_RETURN:
        Finish(DeskAction::kCopy);
        return;
    case VK_ESCAPE:
        if (!EndWorkInProgress())
            Finish(DeskAction::kCancelled);
        return;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
        if (IsFixed() || m_selection.IsDragging())
            return;
        const int step = KeyDown(VK_SHIFT) ? 10 : 1;
        const RECT before = Selection();
        if (m_selection.Nudge(key == VK_LEFT ? -step : key == VK_RIGHT ? step : 0,
                              key == VK_UP ? -step : key == VK_DOWN ? step : 0))
            SelectionChanged(before);
        return;
    }
    }
    if (control) {
        if (key == 'C')
            Finish(DeskAction::kCopy);
        else if (key == 'Z')
            OnCommand(ID_ANNOTATE_UNDO);
        else if (key == 'Y')
            OnCommand(ID_ANNOTATE_REDO);
        return;
    }
    if (KeyDown(VK_MENU))
        return;
    for (const ToolKey& toolKey : kToolKeys)
        if (key == static_cast<WPARAM>(toolKey.key))
            ChooseTool(toolKey.tool);
}

void CDeskWindow::OnCommand(UINT id)
{
    if (id >= ID_TOOL_ARROW && id <= ID_TOOL_MOSAIC) {
        ChooseTool(static_cast<AnnotationTool>(id - ID_TOOL_HAND));
        return;
    }
    switch (id) {
    case ID_ANNOTATE_UNDO:
        m_controller.Undo();
        break;
    case ID_ANNOTATE_REDO:
        m_controller.Redo();
        break;
    case ID_DESK_PIN:
        Finish(DeskAction::kPin);
        break;
    case ID_DESK_SAVE:
        Save();
        break;
    case ID_DESK_OPEN_DOCUMENT:
        Finish(DeskAction::kOpenAsDocument);
        break;
    case ID_DESK_COPY:
        Finish(DeskAction::kCopy);
        break;
    case ID_DESK_CANCEL:
        Finish(DeskAction::kCancelled);
        break;
    case ID_DESK_READ_TEXT:
        Finish(DeskAction::kReadText);
        break;
    case ID_DESK_LONGSHOT:
        // Posted by the bar: a mark may have come first.
        if (!IsFixed())
            Finish(DeskAction::kLongshot);
        break;
    }
}

void CDeskWindow::ChooseTool(AnnotationTool tool)
{
    m_tools.SetTool(tool);
    m_controller.ToolChanged();
    UpdateToolBar();
}

void CDeskWindow::OnEdited()
{
    // The handles go with the first mark.
    InvalidateDecor(Selection());
    PlaceToolBar();
    UpdateToolBar();
}

void CDeskWindow::PlaceToolBar()
{
    // Beside the part of a tall picture that shows.
    const RECT desk{0, 0, m_deskSize.cx, m_deskSize.cy};
    RECT selection{}, markedUp{};
    IntersectRect(&selection, &Selection(), &desk);
    OffsetRect(&selection, m_ptDeskOrigin.x, m_ptDeskOrigin.y);
    // The latest mark is where the user works; all marks together, spread over the
    // selection, would leave no corner clear.
    if (!m_picture.Objects().empty()) {
        markedUp = AnnotationInkBounds(m_picture.Objects().back());
        OffsetRect(&markedUp, m_rcPicture.left + m_ptDeskOrigin.x, m_rcPicture.top + m_ptDeskOrigin.y);
    }
    const RECT labelBefore = LabelRect(Selection());
    m_toolBar.PlaceBeside(selection, markedUp);
    const RECT labelAfter = LabelRect(Selection());
    if (!EqualRect(&labelBefore, &labelAfter)) {
        InvalidateRect(Handle(), &labelBefore, FALSE);
        InvalidateRect(Handle(), &labelAfter, FALSE);
    }
}

void CDeskWindow::UpdateToolBar()
{
    m_toolBar.Update(m_picture.CanUndo(), m_picture.CanRedo(), !IsFixed());
}

bool CDeskWindow::EndWorkInProgress()
{
    if (m_selection.IsDragging()) {
        m_selection.EndDrag();
        ReleaseCapture();
        return true;
    }
    if (m_controller.EndWorkInProgress())
        return true;
    if (!m_surface.Box().IsOpen())
        return false;
    m_controller.FinishText();
    return true;
}

void CDeskWindow::OnButtonDown(POINT point, bool doubleClick)
{
    const bool inside = PtInRect(&Selection(), point) != FALSE;
    if (doubleClick && inside) {
        Finish(DeskAction::kCopy);
        return;
    }
    // A text being typed ends with a press anywhere, before the press counts.
    m_controller.FinishText();
    if (!IsFixed()) {
        const DeskGrip grip = m_selection.GripAt(point, HandleSize() / 2 + 1);
        if (grip != DeskGrip::kNone && (grip != DeskGrip::kInside || !IsDrawingTool())) {
            m_selection.BeginDrag(grip, point);
            SetCapture(Handle());
            return;
        }
    }
    if (inside && IsDrawingTool()) {
        PreparePicture();
        m_controller.OnButtonDown(point, HeldKeys(), false);
    }
}

void CDeskWindow::OnMouseMove(POINT point)
{
    if (m_selection.IsDragging()) {
        const RECT before = Selection();
        if (m_selection.DragTo(point))
            SelectionChanged(before);
    } else if (m_controller.IsDragging()) {
        m_controller.OnMouseMove(point, HeldKeys());
    }
}

void CDeskWindow::OnButtonUp(POINT point)
{
    if (m_selection.IsDragging()) {
        m_selection.EndDrag();
        ReleaseCapture();
    } else if (m_controller.IsDragging()) {
        m_controller.OnButtonUp(point, HeldKeys());
    }
}

void CDeskWindow::OnRightButtonUp()
{
    if (!IsWorkInProgress())
        Finish(DeskAction::kCancelled);
}

bool CDeskWindow::OnSetCursor()
{
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(Handle(), &point);
    const bool inside = PtInRect(&Selection(), point) != FALSE;
    const DeskGrip grip = IsFixed() ? DeskGrip::kNone : m_selection.GripAt(point, HandleSize() / 2 + 1);
    if (inside && IsDrawingTool() && (grip == DeskGrip::kInside || grip == DeskGrip::kNone)) {
        if (HCURSOR cursor = m_controller.Cursor(point)) {
            SetCursor(cursor);
            return true;
        }
    }
    const char* shape = IDC_ARROW;
    switch (grip) {
    case DeskGrip::kLeft:
    case DeskGrip::kRight: shape = IDC_SIZEWE; break;
    case DeskGrip::kTop:
    case DeskGrip::kBottom: shape = IDC_SIZENS; break;
    case DeskGrip::kTopLeft:
    case DeskGrip::kBottomRight: shape = IDC_SIZENWSE; break;
    case DeskGrip::kTopRight:
    case DeskGrip::kBottomLeft: shape = IDC_SIZENESW; break;
    case DeskGrip::kInside: shape = IDC_SIZEALL; break;
    case DeskGrip::kNone: break;
    }
    SetCursor(LoadCursorA(nullptr, shape));
    return true;
}

void CDeskWindow::PreparePicture()
{
    const RECT& rect = Selection();
    if (m_picture.Bitmap() && EqualRect(&rect, &m_rcPicture))
        return;
    m_picture.Reset(CopyBitmapPart(m_hFrame, InFrame(rect)).release());
    m_rcPicture = rect;
    m_surface.SetPictureOrigin(POINT{rect.left, rect.top});
}

DeskResult CDeskWindow::TakeResult(DeskAction action)
{
    DeskResult result;
    result.action = action;
    if (action == DeskAction::kCancelled)
        return result;
    m_controller.FinishText();
    const RECT& rect = Selection();
    result.rcSelection = rect;
    OffsetRect(&result.rcSelection, m_ptDeskOrigin.x, m_ptDeskOrigin.y);
    if (action == DeskAction::kLongshot)
        return result;
    result.picture = CopyBitmapPart(m_hFrame, InFrame(rect));
    if (m_picture.Bitmap() && EqualRect(&rect, &m_rcPicture))
        result.marks = m_picture.Objects();
    return result;
}

// Save As proposes the auto-save folder and name; a cancelled dialog, or a write that
// failed (shown by the dialog's code), returns to the desk.
void CDeskWindow::Save()
{
    EndWorkInProgress();
    CaptureName proposed = "";
    SYSTEMTIME now{};
    GetSystemTime(&now);
    if (!MakeAutoSavePath(now, 1, proposed, m_settings))
        proposed[0] = '\0';
    char name[MAX_PATH] = {};
    lstrcpynA(name, proposed, MAX_PATH);
    DeskResult result = TakeResult(DeskAction::kSaved);
    const CBitmapOwner flattened = FlattenDeskResult(result);
    HBITMAP picture = flattened.get();
    if (!SaveImageAs([picture](int format, const char* path) { return picture && SaveImageFile(picture, format, path); },
                     name))
        return;
    result.savedPath = name;
    m_result = std::move(result);
    m_bDone = true;
}

void CDeskWindow::Finish(DeskAction action)
{
    if (m_bDone)
        return;
    if (GetCapture() == Handle())
        ReleaseCapture();
    m_result = TakeResult(action);
    m_bDone = true;
}
