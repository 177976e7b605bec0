#include "annotate/DefaultFontFace.h"

#include <windows.h>

#include <cstddef>

#include "scoped/ScopedHandles.h"

std::wstring DefaultFontFace()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
        // Systems before Vista know the record without its last field.
        metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
            GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof metrics.lfMessageFont, &metrics.lfMessageFont);
    }
    const CFontOwner font(CreateFontIndirectW(&metrics.lfMessageFont));
    const CMemoryDC dc(nullptr);
    const CSelectObject select(dc, font.get());
    wchar_t face[LF_FACESIZE] = {};
    if (select.Succeeded() && GetTextFaceW(dc, LF_FACESIZE, face) > 0)
        return face;
    return metrics.lfMessageFont.lfFaceName;
}
