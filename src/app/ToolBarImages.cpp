#include "app/ToolBarImages.h"

#include "app/Application.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"

const UINT CToolBarImages::kCommands[kMainImageCount] = {
    ID_FILE_OPEN,       ID_FILE_SAVE,        ID_CAPTURE_FULLSCREEN, ID_CAPTURE_WINDOW, ID_CAPTURE_REGION,
    ID_CAPTURE_OBJECT,  ID_CAPTURE_INCLUDE_CURSOR, ID_ZOOM_IN,     ID_ZOOM_OUT,       ID_EDITORS,
    ID_ZOOM_FIT,        ID_ZOOM_ACTUAL,      ID_VIEW_OPTIONS,       ID_CAPTURE_LAST_REGION,
};

namespace {
HBITMAP LoadStrip(UINT id)
{
    return static_cast<HBITMAP>(
        LoadImageA(g_app.Instance(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// 24-bit lists: the pictures are drawn from a fixed palette, but pictures added later
// (a colour swatch) may hold any colour.
HIMAGELIST MakeList(HBITMAP strip, HBITMAP mask, int count)
{
    HIMAGELIST list = ImageList_Create(CToolBarImages::kImageWidth, CToolBarImages::kImageHeight,
                                       ILC_COLOR24 | ILC_MASK, count, 1);
    if (list && (!strip || !mask || ImageList_Add(list, strip, mask) < 0)) {
        ImageList_Destroy(list);
        list = nullptr;
    }
    return list;
}
}

void CToolBarImages::Load(UINT normalId, UINT disabledId, UINT maskId, int count)
{
    // The lists keep copies.
    const CBitmapOwner mask(LoadStrip(maskId));
    const CBitmapOwner normal(LoadStrip(normalId));
    const CBitmapOwner disabled(LoadStrip(disabledId));
    m_hNormal = MakeList(normal.get(), mask.get(), count);
    m_hDisabled = MakeList(disabled.get(), mask.get(), count);
}

CToolBarImages::~CToolBarImages()
{
    if (m_hNormal)
        ImageList_Destroy(m_hNormal);
    if (m_hDisabled)
        ImageList_Destroy(m_hDisabled);
}
