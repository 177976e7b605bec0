#include "document/DocumentTitle.h"

#include <cstring>

void ReadDocumentName(HWND document, char (&name)[MAX_PATH])
{
    name[0] = '\0';
    GetWindowTextA(document, name, MAX_PATH);
    // '*' is below every trail byte of the double-byte code pages, so the last byte
    // is an asterisk only when the last character is one.
    const size_t length = strlen(name);
    if (length > 0 && name[length - 1] == '*')
        name[length - 1] = '\0';
}
