#pragma once
#include <windows.h>

// Messages between an image document and the windows around it.
constexpr UINT WM_APP_DOC_ACTIVATED = WM_APP + 100;     // document -> MDI client: select my tab (wParam)
constexpr UINT WM_APP_GET_IMAGE_MENU = WM_APP + 101;    // -> document: its image popup
constexpr UINT WM_APP_DOC_PATH_CHANGED = WM_APP + 102;  // document (wParam) -> MDI client: saved under lParam

// The wParam that WM_APP_GET_IMAGE_MENU must carry; any other is answered with null.
constexpr WPARAM kImageMenuRequest = 3;

// frame -> document: the annotation tool (wParam 0) or the properties in wParam (the
// AnnotationProperty bits) changed; the document applies new properties to what is selected.
constexpr UINT WM_APP_ANNOTATION_CHANGED = WM_APP + 103;
// text box -> its view: the typing ended (Esc, or the focus went elsewhere).
constexpr UINT WM_APP_FINISH_TEXT = WM_APP + 104;
// view -> its document window: the picture, its changed state or the text being typed
// changed.
constexpr UINT WM_APP_DOC_EDITED = WM_APP + 105;
