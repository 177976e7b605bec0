#include "util/AppMessageBox.h"

#include <cstdio>

#include "res/resource.h"

namespace {
int ShowWithTitle(HWND hOwner, const char* text, UINT style)
{
    char szCaption[64] = {};
    ::LoadStringA(::GetModuleHandleA(nullptr), IDR_MAINFRAME, szCaption, sizeof szCaption);
    return ::MessageBoxA(hOwner, text, szCaption, style);
}
}

int AppMessageBox(HWND hOwner, UINT id, UINT style)
{
    char szText[128] = {};
    ::LoadStringA(::GetModuleHandleA(nullptr), id, szText, sizeof szText);
    return ShowWithTitle(hOwner, szText, style);
}

int AppMessageBox(HWND hOwner, UINT id, UINT style, const char* insert)
{
    char szFormat[128] = {};
    char szText[sizeof szFormat + MAX_PATH] = {};
    ::LoadStringA(::GetModuleHandleA(nullptr), id, szFormat, sizeof szFormat);
    std::snprintf(szText, sizeof szText, szFormat, insert);
    return ShowWithTitle(hOwner, szText, style);
}
