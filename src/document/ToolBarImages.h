#pragma once
#include <windows.h>
#include <commctrl.h>

#include "ui/DpiScale.h"

// The resource ids of one toolbar's strips in each drawn size (16, 24 and 32 pixels).
struct ToolBarStrips {
    UINT normal[3];
    UINT disabled[3];
    UINT mask[3];
};

// The pictures of a toolbar, 16 x 15 pixels each at 96 DPI and drawn larger for higher
// DPIs (24 x 22, 32 x 30): one list in colour and one in grey for disabled commands,
// both cut with the same mask. The main toolbar's are shared by the menu bar.
class CToolBarImages {
public:
    static constexpr int kImageWidth = 16;
    static constexpr int kImageHeight = 15;
    static const ToolBarStrips kMainStrips;
    static const ToolBarStrips kAnnotationStrips;

    CToolBarImages() = default;
    ~CToolBarImages();
    CToolBarImages(const CToolBarImages&) = delete;
    CToolBarImages& operator=(const CToolBarImages&) = delete;

    // Cuts the three strips of count pictures each, in the size drawn for the DPI, into
    // new lists; the lists loaded before are destroyed, so whoever showed them must be
    // given the new ones. A list that cannot be made stays null, and its toolbar and
    // menus then show no pictures.
    void Load(const ToolBarStrips& strips, int count, const CDpiScale& dpi);

    HIMAGELIST Normal() const { return m_hNormal; }
    HIMAGELIST Disabled() const { return m_hDisabled; }
    // The size of one picture in the lists.
    SIZE ImageSize() const { return m_size; }

    // The command each picture of the main toolbar stands for, in picture order;
    // pictures added later come last, so that the earlier ones keep their places.
    static constexpr int kMainImageCount = 17;
    static const UINT kCommands[kMainImageCount];

private:
    void Destroy();

    HIMAGELIST m_hNormal = nullptr;
    HIMAGELIST m_hDisabled = nullptr;
    SIZE m_size{kImageWidth, kImageHeight};
};

// Puts the lists on a toolbar made of the count buttons, sizes its buttons to their
// pictures and its separators to their 96-DPI widths (iBitmap) at the DPI, and fits
// the bar to them. At start and again when the DPI changes.
void ShowToolBarPictures(HWND toolBar, const CToolBarImages& images, const TBBUTTON* buttons, int count,
                         const CDpiScale& dpi);
