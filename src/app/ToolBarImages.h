#pragma once
#include <windows.h>
#include <commctrl.h>

// The 13 pictures of the toolbar, shared by the menu bar: one list in colour and one
// in grey for disabled commands, both cut with the same mask.
class CToolBarImages {
public:
    CToolBarImages() = default;
    ~CToolBarImages();
    CToolBarImages(const CToolBarImages&) = delete;
    CToolBarImages& operator=(const CToolBarImages&) = delete;

    void Load();

    HIMAGELIST Normal() const { return m_hNormal; }
    HIMAGELIST Disabled() const { return m_hDisabled; }

    // The command each picture stands for, in picture order.
    static const UINT kCommands[13];

private:
    HIMAGELIST m_hNormal = nullptr;
    HIMAGELIST m_hDisabled = nullptr;
};
