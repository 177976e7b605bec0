#pragma once

#include <windows.h>

#include "imageio/CodecFailure.h"
#include "imageio/Dib.h"
#include "imageio/DibConversion.h"
#include "util/FileReplacement.h"
#include "util/Win32Error.h"

// What the compressed-format writers share: an empty CDib is refused, other depths than
// 24 and 32 bits go through a 24-bit copy, and encode(image, handle) writes into a
// CFileReplacement that replaces the target only when it returns. 1, or 0 with the
// reason as the last error.
template <typename Encode>
int WriteImageFile(const CDib& dib, const char* path, CFileReplacement::Mode mode, Encode encode)
{
    try {
        if (dib.IsEmpty())
            throw Vorn::CWin32Error(ERROR_INVALID_PARAMETER);
        CDib converted;
        const CDib& image = DirectOr24BitCopy(dib, converted);
        CFileReplacement file(path, mode);
        encode(image, file.GetHandle());
        file.Commit();
        return 1;
    } catch (...) {
        return FailWithCurrentException();
    }
}
