#include "annotate/DefaultFontFace.h"

#include <windows.h>


#include "scoped/ScopedHandles.h"
#include "util/SystemFonts.h"

std::wstring DefaultFontFace()
{
    const NONCLIENTMETRICSW metrics = SystemFontMetrics();
    const CFontOwner font(CreateFontIndirectW(&metrics.lfMessageFont));
    const CMemoryDC dc(nullptr);
    const CSelectObject select(dc, font.get());
    wchar_t face[LF_FACESIZE] = {};
    if (select.Succeeded() && GetTextFaceW(dc, LF_FACESIZE, face) > 0)
        return face;
    return metrics.lfMessageFont.lfFaceName;
}
