#include "util/SystemFonts.h"

#include <cstddef>

NONCLIENTMETRICSW SystemFontMetrics()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        return metrics;
    // Systems before Vista know the record without its last field.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        return metrics;
    LOGFONTW gui{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    metrics.lfCaptionFont = metrics.lfSmCaptionFont = metrics.lfMenuFont = gui;
    metrics.lfStatusFont = metrics.lfMessageFont = gui;
    return metrics;
}
