#pragma once
#include <windows.h>
#include <commctrl.h>

// The pictures of a toolbar, 16 x 15 pixels each: one list in colour and one in grey
// for disabled commands, both cut with the same mask. The main toolbar's are shared
// by the menu bar.
class CToolBarImages {
public:
    static constexpr int kImageWidth = 16;
    static constexpr int kImageHeight = 15;

    CToolBarImages() = default;
    ~CToolBarImages();
    CToolBarImages(const CToolBarImages&) = delete;
    CToolBarImages& operator=(const CToolBarImages&) = delete;

    // Cuts the three strips of count pictures each into the lists; a list that cannot
    // be made stays null, and its toolbar and menus then show no pictures.
    void Load(UINT normalId, UINT disabledId, UINT maskId, int count);

    HIMAGELIST Normal() const { return m_hNormal; }
    HIMAGELIST Disabled() const { return m_hDisabled; }

    // The command each picture of the main toolbar stands for, in picture order;
    // pictures added later come last, so that the earlier ones keep their places.
    static constexpr int kMainImageCount = 14;
    static const UINT kCommands[kMainImageCount];

private:
    HIMAGELIST m_hNormal = nullptr;
    HIMAGELIST m_hDisabled = nullptr;
};
