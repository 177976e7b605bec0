#include "util/AppMessageBox.h"

namespace {
const UINT kAppTitleStringId = 128;
}

int AppMessageBox(HWND hOwner, UINT id, UINT style)
{
    char szText[128] = {};
    char szCaption[64] = {};
    HINSTANCE hModule = ::GetModuleHandleA(nullptr);
    ::LoadStringA(hModule, id, szText, sizeof szText);
    ::LoadStringA(hModule, kAppTitleStringId, szCaption, sizeof szCaption);
    return ::MessageBoxA(hOwner, szText, szCaption, style);
}
