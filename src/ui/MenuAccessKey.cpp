#include "ui/MenuAccessKey.h"

namespace {
UINT UpperCase(UINT ch)
{
    return static_cast<UINT>(reinterpret_cast<UINT_PTR>(CharUpperA(reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(ch)))));
}
}

bool MenuAccessKeyMatches(const char* text, UINT key)
{
    if (!text || key == 0)
        return false;
    for (const char* p = text; *p; p = CharNextA(p)) {
        if (*p != '&')
            continue;
        const char* accessKey = p + 1;
        if (*accessKey == '&') {  // "&&" shows one ampersand
            p = accessKey;
            continue;
        }
        const auto first = static_cast<BYTE>(accessKey[0]);
        if (first == 0)
            return false;
        if (IsDBCSLeadByte(first) && accessKey[1])
            return key == MAKEWORD(static_cast<BYTE>(accessKey[1]), first);
        return key < 0x100 && UpperCase(key) == UpperCase(first);
    }
    return false;
}
