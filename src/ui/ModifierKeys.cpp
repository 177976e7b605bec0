#include "ui/ModifierKeys.h"

#include <windows.h>

void ForgetModifiersLetGoElsewhere()
{
    static const int kModifiers[] = {VK_SHIFT, VK_LSHIFT, VK_RSHIFT, VK_CONTROL, VK_LCONTROL,
                                     VK_RCONTROL, VK_MENU, VK_LMENU, VK_RMENU};
    BYTE keys[256];
    if (!GetKeyboardState(keys))
        return;
    bool changed = false;
    for (const int key : kModifiers) {
        if ((keys[key] & 0x80) && !(GetAsyncKeyState(key) & 0x8000)) {
            keys[key] &= static_cast<BYTE>(~0x80);
            changed = true;
        }
    }
    if (changed)
        SetKeyboardState(keys);
}
