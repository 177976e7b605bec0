#include "annotate/AnnotationEdit.h"

#include <algorithm>

#include "annotate/AnnotationLayout.h"
#include "annotate/AnnotationPainter.h"

CAnnotationEdit CAnnotationEdit::Insert(size_t index, Annotation object)
{
    CAnnotationEdit edit;
    edit.m_steps.push_back(Step{index, std::nullopt, std::move(object)});
    return edit;
}

CAnnotationEdit CAnnotationEdit::Replace(size_t index, Annotation before, Annotation after)
{
    CAnnotationEdit edit;
    edit.m_steps.push_back(Step{index, std::move(before), std::move(after)});
    return edit;
}

CAnnotationEdit CAnnotationEdit::Remove(const std::vector<Annotation>& objects, std::vector<size_t> indices)
{
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    CAnnotationEdit edit;
    std::vector<Annotation> left = objects;
    // From the top down, so that each index still names its mark.
    for (size_t i = indices.size(); i-- > 0;) {
        if (indices[i] >= left.size())
            continue;
        edit.m_steps.push_back(Step{indices[i], left[indices[i]], std::nullopt});
        left.erase(left.begin() + static_cast<std::ptrdiff_t>(indices[i]));
    }
    std::vector<size_t> steps;
    for (size_t i = 0; i < left.size(); ++i) {
        if (left[i].kind == AnnotationKind::kStep)
            steps.push_back(i);
    }
    std::stable_sort(steps.begin(), steps.end(),
                     [&left](size_t a, size_t b) { return left[a].number < left[b].number; });
    for (size_t rank = 0; rank < steps.size(); ++rank) {
        const Annotation& step = left[steps[rank]];
        if (step.number == static_cast<int>(rank + 1))
            continue;
        Annotation renumbered = step;
        renumbered.number = static_cast<int>(rank + 1);
        edit.m_steps.push_back(Step{steps[rank], step, std::move(renumbered)});
    }
    return edit;
}

CAnnotationEdit CAnnotationEdit::Crop(CBitmapOwner cropped, POINT origin, const std::vector<Annotation>& objects)
{
    CAnnotationEdit edit;
    edit.m_bCrop = true;
    edit.m_otherBitmap = std::move(cropped);
    for (size_t i = 0; i < objects.size(); ++i) {
        edit.m_steps.push_back(Step{i, objects[i],
                                    MovedAnnotation(objects[i], static_cast<float>(-origin.x),
                                                    static_cast<float>(-origin.y))});
    }
    return edit;
}

void CAnnotationEdit::Append(CAnnotationEdit other)
{
    m_steps.insert(m_steps.end(), std::make_move_iterator(other.m_steps.begin()),
                   std::make_move_iterator(other.m_steps.end()));
    if (other.m_bCrop) {
        m_bCrop = true;
        m_otherBitmap = std::move(other.m_otherBitmap);
    }
}

void CAnnotationEdit::Run(const Step& step, std::vector<Annotation>& objects, bool forward)
{
    const std::optional<Annotation>& from = forward ? step.before : step.after;
    const std::optional<Annotation>& to = forward ? step.after : step.before;
    const auto at = objects.begin() + static_cast<std::ptrdiff_t>(step.index);
    if (from && to)
        objects[step.index] = *to;
    else if (to)
        objects.insert(at, *to);
    else
        objects.erase(at);
}

void CAnnotationEdit::Apply(std::vector<Annotation>& objects, CBitmapOwner& bitmap)
{
    for (const Step& step : m_steps)
        Run(step, objects, true);
    if (m_bCrop)
        std::swap(bitmap, m_otherBitmap);
}

void CAnnotationEdit::Revert(std::vector<Annotation>& objects, CBitmapOwner& bitmap)
{
    if (m_bCrop)
        std::swap(bitmap, m_otherBitmap);
    for (size_t i = m_steps.size(); i-- > 0;)
        Run(m_steps[i], objects, false);
}

size_t CAnnotationEdit::HeldBytes() const
{
    const auto markBytes = [](const std::optional<Annotation>& mark) -> size_t {
        if (!mark)
            return 0;
        return sizeof(Annotation) + mark->points.capacity() * sizeof(ImagePoint) +
               (mark->text.capacity() + mark->style.fontFace.capacity()) * sizeof(wchar_t);
    };
    size_t bytes = sizeof(*this) + m_steps.capacity() * sizeof(Step);
    for (const Step& step : m_steps)
        bytes += markBytes(step.before) + markBytes(step.after);
    BITMAP bitmap{};
    if (m_otherBitmap && GetObject(m_otherBitmap.get(), sizeof(bitmap), &bitmap))
        bytes += static_cast<size_t>(bitmap.bmWidthBytes) * static_cast<size_t>(bitmap.bmHeight);
    return bytes;
}

bool CAnnotationEdit::ChangedInk(RECT& area) const
{
    if (m_bCrop)
        return false;
    area = RECT{};
    for (const Step& step : m_steps) {
        for (const std::optional<Annotation>* mark : {&step.before, &step.after}) {
            if (*mark) {
                const RECT ink = AnnotationInkBounds(**mark);
                UnionRect(&area, &area, &ink);
            }
        }
    }
    return true;
}
