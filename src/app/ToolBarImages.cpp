#include "app/ToolBarImages.h"

#include "app/Application.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"

const UINT CToolBarImages::kCommands[13] = {
    ID_FILE_OPEN,       ID_FILE_SAVE,        ID_CAPTURE_FULLSCREEN, ID_CAPTURE_WINDOW, ID_CAPTURE_REGION,
    ID_CAPTURE_OBJECT,  ID_CAPTURE_INCLUDE_CURSOR, ID_ZOOM_IN,     ID_ZOOM_OUT,       ID_EDITORS,
    ID_ZOOM_FIT,        ID_ZOOM_ACTUAL,      ID_VIEW_OPTIONS,
};

namespace {
constexpr int kImageWidth = 16;
constexpr int kImageHeight = 15;

HBITMAP LoadStrip(UINT id)
{
    return static_cast<HBITMAP>(
        LoadImageA(g_app.Instance(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// A list that could not be made stays null: the toolbar and menus then show no pictures.
HIMAGELIST MakeList(HBITMAP strip, HBITMAP mask)
{
    HIMAGELIST list = ImageList_Create(kImageWidth, kImageHeight, ILC_COLOR8 | ILC_MASK, 13, 0);
    if (list && (!strip || !mask || ImageList_Add(list, strip, mask) < 0)) {
        ImageList_Destroy(list);
        list = nullptr;
    }
    return list;
}
}

void CToolBarImages::Load()
{
    // The lists keep copies.
    const CBitmapOwner mask(LoadStrip(IDB_TOOLBAR_MASK));
    const CBitmapOwner normal(LoadStrip(IDB_TOOLBAR));
    const CBitmapOwner disabled(LoadStrip(IDB_TOOLBAR_DISABLED));
    m_hNormal = MakeList(normal.get(), mask.get());
    m_hDisabled = MakeList(disabled.get(), mask.get());
}

CToolBarImages::~CToolBarImages()
{
    if (m_hNormal)
        ImageList_Destroy(m_hNormal);
    if (m_hDisabled)
        ImageList_Destroy(m_hDisabled);
}
