#pragma once
#include <windows.h>
#include <commctrl.h>

// Supplies pictures for menu commands whose images are not in the toolbar strip,
// each from an image list of its own choosing (the editors' icons come from the
// system's small-icon list).
class IMenuImageSource {
public:
    // False when the command has no picture.
    virtual bool GetMenuImage(UINT command, HIMAGELIST& images, int& index) const = 0;

protected:
    ~IMenuImageSource() = default;
};
