#include "app/ToolBarImages.h"

#include "app/Application.h"
#include "res/resource.h"

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
    HBITMAP mask = LoadStrip(IDB_TOOLBAR_MASK);
    HBITMAP normal = LoadStrip(IDB_TOOLBAR);
    HBITMAP disabled = LoadStrip(IDB_TOOLBAR_DISABLED);
    m_hNormal = MakeList(normal, mask);
    m_hDisabled = MakeList(disabled, mask);
    // The lists keep copies.
    for (HBITMAP bitmap : {mask, normal, disabled})
        if (bitmap)
            DeleteObject(bitmap);
}

CToolBarImages::~CToolBarImages()
{
    if (m_hNormal)
        ImageList_Destroy(m_hNormal);
    if (m_hDisabled)
        ImageList_Destroy(m_hDisabled);
}
