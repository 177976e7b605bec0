#include "document/ImageStatusPanes.h"

#include <cstdio>
#include <cstring>

#include "res/resource.h"
#include "ui/UpdateUI.h"
#include "util/FastString.h"

namespace {
// A pane's text: the pane's sample string up to its colon, then the value.
template <typename... Values>
void FormatPaneText(char (&text)[64], UINT id, const char* format, Values... values)
{
    Vorn::CFastString<63> sample;
    sample.LoadString(id);
    lstrcpynA(text, sample.GetString(), sizeof(text));
    if (char* colon = strchr(text, ':'))
        snprintf(colon + 1, sizeof(text) - static_cast<size_t>(colon + 1 - text), format, values...);
}
}

void ShowImageStatus(CUpdateUI& updateUI, SIZE imageSize, float zoom)
{
    char text[64];
    FormatPaneText(text, ID_INDICATOR_SIZE, " %d x %d", static_cast<int>(imageSize.cx), static_cast<int>(imageSize.cy));
    updateUI.SetCommandText(ID_INDICATOR_SIZE, text);
    FormatPaneText(text, ID_INDICATOR_ZOOM, " %.0f%%", zoom * 100.0);
    updateUI.SetCommandText(ID_INDICATOR_ZOOM, text);
}

void ClearImageStatus(CUpdateUI& updateUI)
{
    updateUI.SetCommandText(ID_INDICATOR_SIZE, "");
    updateUI.SetCommandText(ID_INDICATOR_ZOOM, "");
}
