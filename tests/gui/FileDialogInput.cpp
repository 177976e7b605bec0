#include "gui/FileDialogInput.h"

#include <dlgs.h>

#include "KeyInput.h"

void TypeName(const std::string& name)
{
    PressKeys({VK_END});
    PressKeys({VK_SHIFT, VK_HOME});
    TypeText(name);
}

void HandleInput(HWND dialog)
{
    // As the dialog's own loop does: in Unicode, so that typed Chinese arrives whole.
    for (int round = 0; round < 20; ++round) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!IsDialogMessageW(dialog, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        Sleep(10);
    }
}

void PressEnterOrCancel(HWND dialog)
{
    PressKeys({VK_RETURN});
    HandleInput(dialog);
    if (IsWindowVisible(dialog))
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

std::string NameBox(HWND dialog)
{
    char text[1024] = {};
    GetDlgItemTextA(dialog, cmb13, text, sizeof text);
    return text;
}
