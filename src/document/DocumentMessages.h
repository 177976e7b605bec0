#pragma once
#include <windows.h>

// Messages between an image document and the windows around it.
constexpr UINT WM_APP_DOC_ACTIVATED = WM_APP + 100;     // document -> MDI client: select my tab
constexpr UINT WM_APP_GET_IMAGE_MENU = WM_APP + 101;    // -> document: its image popup (wParam 3)
constexpr UINT WM_APP_DOC_PATH_CHANGED = WM_APP + 102;  // document -> main frame: saved under lParam
