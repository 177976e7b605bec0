#include "annotate/AnnotationController.h"

#include <algorithm>
#include <cmath>

#include "annotate/AnnotationLayout.h"
#include "annotate/AnnotationOverlayPainter.h"
#include "res/resource.h"

namespace {
// Screen pixels at 96 DPI, at every zoom:
constexpr int kHandleSize = 7;
constexpr int kHitReach = 4;
constexpr int kLeastDragPixels = 3;  // shorter drags of a shape tool make nothing

// The kind of mark a drawing tool makes.
AnnotationKind KindOfTool(AnnotationTool tool)
{
    switch (tool) {
    case AnnotationTool::kArrow: return AnnotationKind::kArrow;
    case AnnotationTool::kLine: return AnnotationKind::kLine;
    case AnnotationTool::kEllipse: return AnnotationKind::kEllipse;
    case AnnotationTool::kPen: return AnnotationKind::kPen;
    case AnnotationTool::kHighlighter: return AnnotationKind::kHighlighter;
    case AnnotationTool::kRedact: return AnnotationKind::kRedact;
    case AnnotationTool::kMosaic: return AnnotationKind::kMosaic;
    default: return AnnotationKind::kRectangle;
    }
}

// Freehand marks follow the pointer; the others span from the press to the pointer.
bool IsStroke(AnnotationKind kind)
{
    return kind == AnnotationKind::kPen || kind == AnnotationKind::kHighlighter;
}

// The tool each letter key chooses, in the order of AnnotationTool.
const char kToolKeys[] = "HVALREPITNXMC";
}

float CAnnotationController::HitTolerance() const
{
    return static_cast<float>(m_surface.ScreenPixels(kHitReach)) / m_surface.Mapping().zoom;
}

AnnotationTool CAnnotationController::Tool() const
{
    return m_pTools ? m_pTools->Tool() : AnnotationTool::kHand;
}

bool CAnnotationController::HandlesMouse() const
{
    return Tool() != AnnotationTool::kHand && !m_bSpaceHeld;
}

ImagePoint CAnnotationController::ToImage(POINT client) const
{
    const CanvasMapping m = m_surface.Mapping();
    return ImagePoint{(static_cast<float>(client.x) + static_cast<float>(m.offset.x)) / m.zoom,
                      (static_cast<float>(client.y) + static_cast<float>(m.offset.y)) / m.zoom};
}

POINT CAnnotationController::ToClient(ImagePoint point) const
{
    const CanvasMapping m = m_surface.Mapping();
    return POINT{static_cast<LONG>(std::lround(point.x * m.zoom - static_cast<float>(m.offset.x))),
                 static_cast<LONG>(std::lround(point.y * m.zoom - static_cast<float>(m.offset.y)))};
}

void CAnnotationController::OnButtonDown(POINT client, unsigned keys, bool doubleClick)
{
    const bool shift = (keys & kShiftKey) != 0;
    FinishText();
    const ImagePoint at = ToImage(client);
    m_dragStart = m_dragNow = at;
    const AnnotationTool tool = Tool();
    switch (tool) {
    case AnnotationTool::kHand:
        return;
    case AnnotationTool::kSelect:
        BeginSelectDrag(client, at, shift, doubleClick);
        break;
    case AnnotationTool::kText: {
        const int hit = HitTestAnnotations(m_picture.Objects(), at, HitTolerance());
        const bool onText = hit >= 0 && m_picture.Objects()[static_cast<size_t>(hit)].kind == AnnotationKind::kText;
        PlaceText(onText ? m_picture.Objects()[static_cast<size_t>(hit)].points[0] : at, onText ? hit : -1);
        return;
    }
    case AnnotationTool::kStep: {
        Annotation step;
        step.kind = AnnotationKind::kStep;
        step.style = m_pTools->StyleFor(AnnotationKind::kStep);
        step.points = {at};
        step.number = m_picture.NextStepNumber();
        Commit(CAnnotationEdit::Insert(m_picture.Objects().size(), std::move(step)));
        return;
    }
    case AnnotationTool::kCrop: {
        const bool inside = m_bHasCropFrame && at.x >= m_cropFrame.left && at.x <= m_cropFrame.right &&
                            at.y >= m_cropFrame.top && at.y <= m_cropFrame.bottom;
        if (doubleClick && inside) {
            CropToFrame();
            return;
        }
        RedrawOverlay();
        m_bHasCropFrame = false;
        m_cropFrame = BoxBetween(at, at);
        m_drag = Drag::kCropping;
        break;
    }
    default:
        m_draft = Annotation();
        m_draft.kind = KindOfTool(tool);
        m_draft.style = m_pTools->StyleFor(m_draft.kind);
        m_draft.points = {at};
        if (!IsStroke(m_draft.kind))
            m_draft.points.push_back(at);
        m_drag = Drag::kDrawing;
        break;
    }
    if (m_drag != Drag::kNone)
        m_surface.CaptureMouse();
}

void CAnnotationController::BeginSelectDrag(POINT client, ImagePoint at, bool shift, bool doubleClick)
{
    const int handle = HandleAt(client);
    if (handle >= 0) {
        m_nHandle = handle;
        m_drag = Drag::kResizing;
        return;
    }
    const int hit = HitTestAnnotations(m_picture.Objects(), at, HitTolerance());
    if (hit < 0) {
        if (!shift)
            m_selection.clear();
        m_drag = Drag::kBand;
        RedrawOverlay();
        return;
    }
    const size_t index = static_cast<size_t>(hit);
    const Annotation& object = m_picture.Objects()[index];
    if (doubleClick && object.kind == AnnotationKind::kText) {
        m_selection.clear();
        PlaceText(object.points[0], hit);
        return;
    }
    const auto found = std::find(m_selection.begin(), m_selection.end(), index);
    if (shift && found != m_selection.end()) {
        m_selection.erase(found);
        RedrawOverlay();
        return;
    }
    if (found == m_selection.end()) {
        if (!shift)
            m_selection.clear();
        m_selection.push_back(index);
        std::sort(m_selection.begin(), m_selection.end());
    }
    // A press on one of several selected marks drags them all; a click selects it alone.
    m_nPressedAmongSelected = !shift && found != m_selection.end() && m_selection.size() > 1 ? hit : -1;
    m_drag = Drag::kMoving;
    Redraw();
}

void CAnnotationController::OnMouseMove(POINT client, unsigned keys)
{
    if (m_drag == Drag::kNone)
        return;
    const bool shift = (keys & kShiftKey) != 0;
    ImagePoint at = ToImage(client);
    const ImageRect before = m_drag == Drag::kDrawing ? AnnotationBox(m_draft) : BoxBetween(m_dragStart, m_dragNow);
    switch (m_drag) {
    case Drag::kDrawing:
        if (!IsStroke(m_draft.kind)) {
            m_draft.points[1] = shift ? SnappedEnd(m_draft.kind, m_draft.points[0], at) : at;
        } else {
            const POINT last = ToClient(m_draft.points.back());
            if (std::abs(last.x - client.x) + std::abs(last.y - client.y) >= 2)
                m_draft.points.push_back(at);
        }
        RedrawArea(Union(before, AnnotationBox(m_draft)), m_draft.style.width);
        return;
    case Drag::kCropping:
        if (shift)
            at = SnappedEnd(AnnotationKind::kRectangle, m_dragStart, at);
        RedrawArea(m_cropFrame, 0);
        m_cropFrame = BoxBetween(m_dragStart, at);
        RedrawArea(m_cropFrame, 0);
        m_dragNow = at;
        return;
    case Drag::kBand:
        RedrawArea(before, 0);
        m_dragNow = at;
        RedrawArea(BoxBetween(m_dragStart, m_dragNow), 0);
        return;
    default: {
        // Moving or resizing: the selected marks where they were and where they are.
        const ImageRect was = SelectionBox();
        m_dragNow = at;
        RedrawArea(Union(was, SelectionBox()), SelectionWidth());
        return;
    }
    }
}

void CAnnotationController::OnButtonUp(POINT client, unsigned keys)
{
    if (m_drag == Drag::kNone)
        return;
    OnMouseMove(client, keys);
    // The moved or resized marks where they are now, taken while the drag still says so.
    CAnnotationEdit moved;
    if (m_drag == Drag::kMoving || m_drag == Drag::kResizing) {
        for (size_t index : m_selection) {
            if (index < m_picture.Objects().size())
                moved.Append(CAnnotationEdit::Replace(index, m_picture.Objects()[index], ShownObject(index)));
        }
    }
    const Drag drag = m_drag;
    m_drag = Drag::kNone;
    m_surface.ReleaseMouse();
    switch (drag) {
    case Drag::kDrawing: {
        const POINT from = ToClient(m_draft.points.front()), to = ToClient(m_draft.points.back());
        const int least = m_surface.ScreenPixels(kLeastDragPixels);
        if (IsStroke(m_draft.kind) || std::abs(to.x - from.x) >= least || std::abs(to.y - from.y) >= least)
            Commit(CAnnotationEdit::Insert(m_picture.Objects().size(), m_draft));
        else
            RedrawArea(AnnotationBox(m_draft), m_draft.style.width);
        break;
    }
    case Drag::kMoving:
    case Drag::kResizing: {
        if (m_dragNow.x != m_dragStart.x || m_dragNow.y != m_dragStart.y) {
            Commit(std::move(moved));
        } else {
            if (drag == Drag::kMoving && m_nPressedAmongSelected >= 0)
                m_selection.assign(1, static_cast<size_t>(m_nPressedAmongSelected));
            Redraw();
        }
        break;
    }
    case Drag::kBand: {
        if (!(keys & kShiftKey))
            m_selection.clear();
        for (size_t index : AnnotationsInside(m_picture.Objects(), BoxBetween(m_dragStart, m_dragNow))) {
            if (std::find(m_selection.begin(), m_selection.end(), index) == m_selection.end())
                m_selection.push_back(index);
        }
        std::sort(m_selection.begin(), m_selection.end());
        RedrawOverlay();
        break;
    }
    case Drag::kCropping: {
        const POINT from = ToClient(m_dragStart), to = ToClient(m_dragNow);
        const int least = m_surface.ScreenPixels(kLeastDragPixels);
        m_bHasCropFrame = std::abs(to.x - from.x) >= least && std::abs(to.y - from.y) >= least;
        RedrawOverlay();
        break;
    }
    case Drag::kNone:
        break;
    }
}

void CAnnotationController::OnCaptureLost()
{
    if (m_drag == Drag::kNone)
        return;
    // The button-up goes elsewhere: what was being dragged is dropped.
    m_drag = Drag::kNone;
    m_bHasCropFrame = false;
    Redraw();
}

bool CAnnotationController::EndWorkInProgress()
{
    if (m_drag != Drag::kNone) {
        OnCaptureLost();
        m_surface.ReleaseMouse();
        return true;
    }
    if (!m_bHasCropFrame)
        return false;
    m_bHasCropFrame = false;
    RedrawOverlay();
    return true;
}

Annotation CAnnotationController::ShownObject(size_t index) const
{
    const Annotation& object = m_picture.Objects()[index];
    switch (m_drag) {
    case Drag::kMoving: return MovedAnnotation(object, m_dragNow.x - m_dragStart.x, m_dragNow.y - m_dragStart.y);
    case Drag::kResizing: return ResizedAnnotation(object, m_nHandle, m_dragNow);
    default: return object;
    }
}

int CAnnotationController::HandleAt(POINT client) const
{
    if (m_selection.size() != 1 || m_selection[0] >= m_picture.Objects().size())
        return -1;
    const std::vector<ImagePoint> handles = AnnotationHandles(m_picture.Objects()[m_selection[0]]);
    for (size_t i = 0; i < handles.size(); ++i) {
        const POINT at = ToClient(handles[i]);
        const int reach = m_surface.ScreenPixels(kHandleSize) / 2 + m_surface.ScreenPixels(1);
        if (std::abs(at.x - client.x) <= reach && std::abs(at.y - client.y) <= reach)
            return static_cast<int>(i);
    }
    return -1;
}

void CAnnotationController::PlaceText(ImagePoint at, int index)
{
    const std::wstring text = index >= 0 ? m_picture.Objects()[static_cast<size_t>(index)].text : std::wstring();
    const AnnotationStyle style = index >= 0 ? m_picture.Objects()[static_cast<size_t>(index)].style
                                             : m_pTools->StyleFor(AnnotationKind::kText);
    m_nTextIndex = index;
    m_textOrigin = at;
    m_textStyle = style;
    if (m_surface.TextBox().Open(ToClient(at), m_surface.Mapping().zoom, style, text))
        Redraw();
}

void CAnnotationController::FinishText()
{
    IAnnotationTextBox& box = m_surface.TextBox();
    if (!box.IsOpen())
        return;
    const std::wstring text = box.Close();
    const int index = m_nTextIndex;
    Annotation object;
    object.kind = AnnotationKind::kText;
    object.style = m_textStyle;
    object.text = text;
    const ImagePoint size = MeasureAnnotationText(text, m_textStyle);
    object.points = {m_textOrigin, ImagePoint{m_textOrigin.x + size.x, m_textOrigin.y + size.y}};
    if (index < 0) {
        // An empty box keeps nothing, but the typing's change is over all the same.
        Commit(text.empty() ? CAnnotationEdit() : CAnnotationEdit::Insert(m_picture.Objects().size(), std::move(object)));
        return;
    }
    const Annotation& old = m_picture.Objects()[static_cast<size_t>(index)];
    if (text.empty())
        Commit(CAnnotationEdit::Remove(m_picture.Objects(), {static_cast<size_t>(index)}));
    else if (text != old.text)
        Commit(CAnnotationEdit::Replace(static_cast<size_t>(index), old, std::move(object)));
    else
        Commit(CAnnotationEdit());
}

void CAnnotationController::ViewMoved()
{
    IAnnotationTextBox& box = m_surface.TextBox();
    if (box.IsOpen())
        box.Place(ToClient(m_textOrigin), m_surface.Mapping().zoom);
}

bool CAnnotationController::OnKeyDown(WPARAM key, unsigned keys)
{
    if (m_surface.TextBox().IsOpen() || !m_pTools)
        return false;
    const bool control = (keys & kControlKey) != 0, shift = (keys & kShiftKey) != 0;
    switch (key) {
    case VK_SPACE:
        m_bSpaceHeld = true;
        return true;
    case VK_ESCAPE:
        if (!EndWorkInProgress())
            m_pTools->SetTool(AnnotationTool::kHand);
        return true;
    case VK_RETURN:
        if (!m_bHasCropFrame)
            return false;
        CropToFrame();
        return true;
    case VK_DELETE:
        DeleteSelection();
        return true;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
        if (m_selection.empty())
            return false;
        const float step = shift ? 10.0f : 1.0f;
        MoveSelection(key == VK_LEFT ? -step : key == VK_RIGHT ? step : 0,
                      key == VK_UP ? -step : key == VK_DOWN ? step : 0);
        return true;
    }
    }
    if (control && key == 'A') {
        SelectAll();
        return true;
    }
    if (control || (keys & kAltKey))
        return false;
    for (int tool = 0; tool < kAnnotationToolCount; ++tool) {
        if (key == static_cast<WPARAM>(kToolKeys[tool])) {
            m_pTools->SetTool(static_cast<AnnotationTool>(tool));
            return true;
        }
    }
    return false;
}

void CAnnotationController::OnKeyUp(WPARAM key)
{
    if (key == VK_SPACE)
        m_bSpaceHeld = false;
}

HCURSOR CAnnotationController::Cursor(POINT client) const
{
    switch (Tool()) {
    case AnnotationTool::kHand:
        return nullptr;
    case AnnotationTool::kSelect: {
        if (HandleAt(client) >= 0)
            return LoadCursor(nullptr, IDC_SIZENWSE);
        const bool over =
            HitTestAnnotations(m_picture.Objects(), ToImage(client), HitTolerance()) >= 0;
        return LoadCursor(nullptr, over ? IDC_SIZEALL : IDC_ARROW);
    }
    case AnnotationTool::kText:
        return LoadCursor(nullptr, IDC_IBEAM);
    default:
        return LoadCursor(nullptr, IDC_CROSS);
    }
}

bool CAnnotationController::HasOverlay() const
{
    return !m_picture.Objects().empty() || m_drag != Drag::kNone || m_bHasCropFrame || !m_selection.empty();
}

CanvasMapping CAnnotationController::DeviceMapping(POINT shift) const
{
    CanvasMapping mapping = m_surface.Mapping();
    mapping.offset.x += shift.x;
    mapping.offset.y += shift.y;
    return mapping;
}

bool CAnnotationController::IsLive(size_t index) const
{
    return (m_drag == Drag::kMoving || m_drag == Drag::kResizing) &&
           std::find(m_selection.begin(), m_selection.end(), index) != m_selection.end();
}

std::vector<Annotation> CAnnotationController::StillObjects() const
{
    std::vector<Annotation> still;
    const std::vector<Annotation>& objects = m_picture.Objects();
    for (size_t i = 0; i < objects.size(); ++i) {
        if (!IsLive(i) && !(m_surface.TextBox().IsOpen() && static_cast<int>(i) == m_nTextIndex))
            still.push_back(objects[i]);
    }
    return still;
}

// The marks show only over the picture, as a saved file holds them.
RECT CAnnotationController::MarksClip(const RECT& clip, POINT shift) const
{
    const CanvasMapping mapping = DeviceMapping(shift);
    const SIZE size = m_picture.Size();
    const RECT picture{-mapping.offset.x, -mapping.offset.y,
                       static_cast<LONG>(std::lround(static_cast<float>(size.cx) * mapping.zoom)) - mapping.offset.x,
                       static_cast<LONG>(std::lround(static_cast<float>(size.cy) * mapping.zoom)) - mapping.offset.y};
    RECT deviceClip = clip, shown{};
    OffsetRect(&deviceClip, -shift.x, -shift.y);
    IntersectRect(&shown, &deviceClip, &picture);
    return shown;
}

void CAnnotationController::PaintMarks(HDC dc, const RECT& clip, POINT shift) const
{
    PaintAnnotations(dc, DeviceMapping(shift), MarksClip(clip, shift), m_picture.Bitmap(), StillObjects());
}

void CAnnotationController::PaintLive(HDC dc, const RECT& clip, POINT shift) const
{
    AnnotationOverlay overlay;
    for (size_t index : m_selection) {
        if (index >= m_picture.Objects().size())
            continue;
        const Annotation shown = ShownObject(index);
        if (m_drag == Drag::kMoving || m_drag == Drag::kResizing)
            overlay.live.push_back(shown);
        overlay.selected.push_back(AnnotationBox(shown));
        if (m_selection.size() == 1)
            overlay.handles = AnnotationHandles(shown);
    }
    if (m_drag == Drag::kDrawing)
        overlay.draft = &m_draft;
    if (m_drag == Drag::kBand)
        overlay.band = BoxBetween(m_dragStart, m_dragNow);
    if (m_drag == Drag::kCropping || m_bHasCropFrame)
        overlay.cropFrame = m_cropFrame;
    PaintAnnotationOverlay(dc, DeviceMapping(shift), MarksClip(clip, shift), m_picture.Bitmap(), overlay,
                           m_surface.ScreenPixels(kHandleSize));
}

bool CAnnotationController::MarkedArea(RECT& pixels) const
{
    const bool band = m_drag == Drag::kBand;
    if (!band && m_drag != Drag::kCropping && !m_bHasCropFrame)
        return false;
    const SIZE size = m_picture.Size();
    pixels = PixelBox(band ? BoxBetween(m_dragStart, m_dragNow) : m_cropFrame, size.cx, size.cy);
    return true;
}

void CAnnotationController::ToolChanged()
{
    FinishText();
    m_bHasCropFrame = false;
    if (Tool() != AnnotationTool::kSelect)
        m_selection.clear();
    RedrawOverlay();
}

void CAnnotationController::ApplyProperties(unsigned properties)
{
    if (!m_pTools || m_selection.empty() || !properties)
        return;
    CAnnotationEdit edit;
    for (size_t index : m_selection) {
        const Annotation& old = m_picture.Objects()[index];
        Annotation changed = old;
        const AnnotationStyle style = m_pTools->StyleFor(old.kind);
        // The colour just chosen, a redaction's too: the user picked it for these marks.
        if (properties & kPropertyColour)
            changed.style.colour = m_pTools->Colour();
        if (properties & kPropertyWidth)
            changed.style.width = style.width;
        if (properties & kPropertyFill)
            changed.style.fill = style.fill;
        if (properties & kPropertyFont) {
            changed.style.fontFace = style.fontFace;
            changed.style.fontSize = style.fontSize;
            if (changed.kind == AnnotationKind::kText) {
                const ImagePoint size = MeasureAnnotationText(changed.text, changed.style);
                changed.points[1] = ImagePoint{changed.points[0].x + size.x, changed.points[0].y + size.y};
            }
        }
        if (properties & kPropertyMosaicBlock)
            changed.style.mosaicBlock = style.mosaicBlock;
        edit.Append(CAnnotationEdit::Replace(index, old, std::move(changed)));
    }
    Commit(std::move(edit));
}

void CAnnotationController::MoveSelection(float dx, float dy)
{
    CAnnotationEdit edit;
    for (size_t index : m_selection) {
        const Annotation& old = m_picture.Objects()[index];
        edit.Append(CAnnotationEdit::Replace(index, old, MovedAnnotation(old, dx, dy)));
    }
    Commit(std::move(edit));
}

void CAnnotationController::SelectAll()
{
    m_pTools->SetTool(AnnotationTool::kSelect);
    m_selection.clear();
    for (size_t i = 0; i < m_picture.Objects().size(); ++i)
        m_selection.push_back(i);
    RedrawOverlay();
}

void CAnnotationController::DeleteSelection()
{
    if (m_selection.empty())
        return;
    std::vector<size_t> doomed;
    doomed.swap(m_selection);
    Commit(CAnnotationEdit::Remove(m_picture.Objects(), doomed));
}

void CAnnotationController::CropToFrame()
{
    m_bHasCropFrame = false;
    m_selection.clear();
    if (m_picture.Crop(m_cropFrame)) {
        m_surface.PictureEdited();
    } else {
        // A frame that holds no pixel crops nothing; anything else the user must learn.
        const DWORD error = GetLastError();
        if (error != ERROR_EMPTY)
            m_surface.ReportFailure(IDS_CROP_FAILED, error);
    }
    Redraw();
}

void CAnnotationController::Commit(CAnnotationEdit edit)
{
    m_picture.Execute(std::move(edit));
    m_surface.PictureEdited();
    RedrawChange();
}

void CAnnotationController::Undo()
{
    FinishText();
    m_selection.clear();
    m_bHasCropFrame = false;
    m_picture.Undo();
    m_surface.PictureEdited();
    RedrawChange();
}

void CAnnotationController::Redo()
{
    FinishText();
    m_selection.clear();
    m_picture.Redo();
    m_surface.PictureEdited();
    RedrawChange();
}

void CAnnotationController::Redraw() const
{
    m_surface.MarksChanged();
    m_surface.Invalidate(nullptr);
}

void CAnnotationController::RedrawChange() const
{
    RECT ink{};
    if (!m_picture.LastChangedInk(ink)) {
        Redraw();
        return;
    }
    m_surface.MarksChangedIn(MapImageRectToDevice(m_surface.Mapping(), ink));
    m_surface.Invalidate(nullptr);
}

void CAnnotationController::RedrawOverlay() const
{
    m_surface.Invalidate(nullptr);
}

ImageRect CAnnotationController::SelectionBox() const
{
    ImageRect box{1e9f, 1e9f, -1e9f, -1e9f};
    for (size_t index : m_selection) {
        if (index < m_picture.Objects().size())
            box = Union(box, AnnotationBox(ShownObject(index)));
    }
    return box;
}

float CAnnotationController::SelectionWidth() const
{
    float width = 0;
    for (size_t index : m_selection) {
        if (index < m_picture.Objects().size())
            width = std::max(width, m_picture.Objects()[index].style.width);
    }
    return width;
}

// Strokes of the given width, arrowheads and the antialiased fringe reach past a
// mark's points; the selection frame and handles a few screen pixels more.
void CAnnotationController::RedrawArea(const ImageRect& box, float width) const
{
    const float reach = width * 4 + 2;
    const POINT a = ToClient({box.left - reach, box.top - reach}), b = ToClient({box.right + reach, box.bottom + reach});
    const int handle = m_surface.ScreenPixels(kHandleSize);
    const RECT area{a.x - handle, a.y - handle, b.x + handle, b.y + handle};
    m_surface.Invalidate(&area);
}
