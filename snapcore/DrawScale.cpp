#include "DrawScale.h"

#include "scoped/ScopedHandles.h"

namespace snapcore {

CDrawScale CDrawScale::OfScreen()
{
    static const int dpi = [] {
        const CScreenDC screen;
        return GetDeviceCaps(screen, LOGPIXELSY);
    }();
    return CDrawScale(dpi);
}

} // namespace snapcore
