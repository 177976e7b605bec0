#include "document/ToolBarImages.h"

#include "res/resource.h"
#include "scoped/ScopedHandles.h"

const UINT CToolBarImages::kCommands[kMainImageCount] = {
    ID_FILE_OPEN,       ID_FILE_SAVE,        ID_CAPTURE_FULLSCREEN, ID_CAPTURE_WINDOW, ID_CAPTURE_REGION,
    ID_CAPTURE_OBJECT,  ID_CAPTURE_INCLUDE_CURSOR, ID_ZOOM_IN,     ID_ZOOM_OUT,       ID_EDITORS,
    ID_ZOOM_FIT,        ID_ZOOM_ACTUAL,      ID_VIEW_OPTIONS,       ID_CAPTURE_LAST_REGION,
    ID_CAPTURE_MARKUP,  ID_CAPTURE_LONGSHOT, ID_CAPTURE_RECORD_GIF,
};

const ToolBarStrips CToolBarImages::kMainStrips = {
    {IDB_TOOLBAR, IDB_TOOLBAR_24, IDB_TOOLBAR_32},
    {IDB_TOOLBAR_DISABLED, IDB_TOOLBAR_DISABLED_24, IDB_TOOLBAR_DISABLED_32},
    {IDB_TOOLBAR_MASK, IDB_TOOLBAR_MASK_24, IDB_TOOLBAR_MASK_32},
};

const ToolBarStrips CToolBarImages::kAnnotationStrips = {
    {IDB_ANNOTATE, IDB_ANNOTATE_24, IDB_ANNOTATE_32},
    {IDB_ANNOTATE_DISABLED, IDB_ANNOTATE_DISABLED_24, IDB_ANNOTATE_DISABLED_32},
    {IDB_ANNOTATE_MASK, IDB_ANNOTATE_MASK_24, IDB_ANNOTATE_MASK_32},
};

namespace {
HBITMAP LoadStrip(UINT id)
{
    return static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// 24-bit lists: the pictures are drawn from a fixed palette, but pictures added later
// (a colour swatch) may hold any colour.
HIMAGELIST MakeList(HBITMAP strip, HBITMAP mask, SIZE size, int count)
{
    HIMAGELIST list = ImageList_Create(size.cx, size.cy, ILC_COLOR24 | ILC_MASK, count, 1);
    if (list && (!strip || !mask || ImageList_Add(list, strip, mask) < 0)) {
        ImageList_Destroy(list);
        list = nullptr;
    }
    return list;
}
}

void CToolBarImages::Load(const ToolBarStrips& strips, int count, const CDpiScale& dpi)
{
    Destroy();
    const int drawn = static_cast<int>(dpi.Pictures());
    m_size = SIZE{dpi.PictureLength(kImageWidth), dpi.PictureLength(kImageHeight)};
    // The lists keep copies.
    const CBitmapOwner mask(LoadStrip(strips.mask[drawn]));
    const CBitmapOwner normal(LoadStrip(strips.normal[drawn]));
    const CBitmapOwner disabled(LoadStrip(strips.disabled[drawn]));
    m_hNormal = MakeList(normal.get(), mask.get(), m_size, count);
    m_hDisabled = MakeList(disabled.get(), mask.get(), m_size, count);
}

void CToolBarImages::Destroy()
{
    if (m_hNormal)
        ImageList_Destroy(m_hNormal);
    if (m_hDisabled)
        ImageList_Destroy(m_hDisabled);
    m_hNormal = m_hDisabled = nullptr;
}

CToolBarImages::~CToolBarImages()
{
    Destroy();
}

void ShowToolBarPictures(HWND toolBar, const CToolBarImages& images, const TBBUTTON* buttons, int count,
                         const CDpiScale& dpi)
{
    SendMessageA(toolBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.Normal()));
    SendMessageA(toolBar, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(images.Disabled()));
    for (int index = 0; index < count; ++index) {
        if (!(buttons[index].fsStyle & BTNS_SEP))
            continue;
        TBBUTTONINFOA gap{};
        gap.cbSize = sizeof gap;
        gap.dwMask = TBIF_BYINDEX | TBIF_SIZE;
        gap.cx = static_cast<WORD>(dpi.Scale(static_cast<int>(buttons[index].iBitmap)));
        SendMessageA(toolBar, TB_SETBUTTONINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&gap));
    }
    SendMessageA(toolBar, TB_AUTOSIZE, 0, 0);
}
