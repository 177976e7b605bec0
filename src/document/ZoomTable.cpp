#include "document/ZoomTable.h"

const float g_zoomLevels[kZoomLevelCount + 1] = {0.1f, 0.25f, 0.5f, 0.75f, 1.0f, 1.5f, 2.0f,
                                                 4.0f, 6.0f,  8.0f, 12.0f, 16.0f, 32.0f, 100.0f};

namespace {
constexpr int kLastLevel = kZoomLevelCount - 1;

int ClampLevel(int index)
{
    return index < 0 ? 0 : index > kLastLevel ? kLastLevel : index;
}
}

ZoomPosition FindZoomNeighbour(float zoom)
{
    for (int i = 0; i <= kLastLevel; ++i) {
        if (zoom == g_zoomLevels[i])
            return {ZoomPosition::kExact, i};
        if (g_zoomLevels[i] < zoom && zoom < g_zoomLevels[i + 1])
            return {ZoomPosition::kBetween, i};
    }
    return {ZoomPosition::kOutside, kZoomLevelCount};
}

bool CanZoomIn(float zoom)
{
    return zoom < g_zoomLevels[kLastLevel];
}

bool CanZoomOut(float zoom)
{
    return zoom > g_zoomLevels[0];
}

int ZoomInIndex(float zoom)
{
    if (!CanZoomIn(zoom))
        return -1;
    const ZoomPosition position = FindZoomNeighbour(zoom);
    return ClampLevel(position.kind == ZoomPosition::kOutside ? 0 : position.index + 1);
}

int ZoomOutIndex(float zoom)
{
    if (!CanZoomOut(zoom))
        return -1;
    const ZoomPosition position = FindZoomNeighbour(zoom);
    switch (position.kind) {
    case ZoomPosition::kExact:
        return ClampLevel(position.index - 1);
    case ZoomPosition::kBetween:
        return ClampLevel(position.index);
    default:
        return kLastLevel;
    }
}

int FittedZoomIndex(float zoom)
{
    const ZoomPosition position = FindZoomNeighbour(zoom);
    switch (position.kind) {
    case ZoomPosition::kExact:
        return position.index;
    case ZoomPosition::kBetween:
        return -1;
    default:
        return kZoomLevelCount;
    }
}
