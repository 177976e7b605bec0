#include "document/ImageContextMenu.h"

#include <windowsx.h>

#include "document/DocumentMessages.h"

void ShowImageContextMenu(HWND view, LPARAM screenPoint)
{
    auto imageMenu = reinterpret_cast<HMENU>(SendMessageA(GetParent(view), WM_APP_GET_IMAGE_MENU, kImageMenuRequest, 0));
    if (!imageMenu)
        return;
    POINT point = {GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    // From the keyboard (Shift+F10, the menu key) the point is (-1, -1), the screen's
    // corner; the view's own top-left corner keeps the menu beside what it acts on.
    if (point.x == -1 && point.y == -1) {
        point = {0, 0};
        ClientToScreen(view, &point);
    }
    TrackPopupMenu(imageMenu, 0, point.x, point.y, 0, GetAncestor(view, GA_ROOTOWNER), nullptr);
}
