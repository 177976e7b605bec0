#include "document/MessageFont.h"

#include "util/SystemFonts.h"

CFontOwner MessageFont(const CDpiScale& dpi)
{
    NONCLIENTMETRICSW metrics = SystemFontMetrics();
    metrics.lfMessageFont.lfHeight = dpi.ScaleFromScreen(metrics.lfMessageFont.lfHeight);
    metrics.lfMessageFont.lfWidth = 0;
    return CFontOwner(CreateFontIndirectW(&metrics.lfMessageFont));
}
