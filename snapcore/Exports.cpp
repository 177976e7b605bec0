// The library's entry points. Their undecorated export names come from snapcore.def.
#include "snapcore.h"

#include <new>

#include "DpiAwarenessScope.h"
#include "InteractiveCapture.h"
#include "SkinManager.h"
#include "VirtualScreenCapture.h"

namespace {

constexpr int kModeFullScreen = 0;

bool IsSelectionMode(int mode)
{
    using snapcore::SelectionMode;
    return mode == static_cast<int>(SelectionMode::Window) || mode == static_cast<int>(SelectionMode::Region)
        || mode == static_cast<int>(SelectionMode::Object);
}

// The mode only the frozen-screen selection offers.
bool IsAnyPartMode(int mode)
{
    return mode == static_cast<int>(snapcore::SelectionMode::AnyPart);
}

// A caller that passes no options gets the plain grab.
CaptureOptions OptionsOrDefaults(const CaptureOptions* options)
{
    return options ? *options : CaptureOptions{};
}

} // namespace

extern "C" HBITMAP __stdcall CaptureFullScreen(CaptureOptions* options)
{
    const snapcore::CDpiAwarenessScope physicalPixels;
    return snapcore::CaptureVirtualScreen(OptionsOrDefaults(options));
}

extern "C" HBITMAP __stdcall DoCaptureModal(int mode, CaptureOptions* options, AuxWindowOptions* aux)
{
    if (mode == kModeFullScreen)
        return CaptureFullScreen(options);
    if (!IsSelectionMode(mode))
        return nullptr;
    return snapcore::CaptureInteractively(static_cast<snapcore::SelectionMode>(mode), OptionsOrDefaults(options), aux);
}

extern "C" HBITMAP __stdcall SelectOnFrozenScreen(int mode, CaptureOptions* options, AuxWindowOptions* aux,
                                                  RECT* chosen)
{
    if (!chosen)
        return nullptr;
    *chosen = RECT{};
    if (!IsSelectionMode(mode) && !IsAnyPartMode(mode))
        return nullptr;
    return snapcore::SelectInteractively(static_cast<snapcore::SelectionMode>(mode), OptionsOrDefaults(options), aux,
                                         chosen);
}

// A new manager each call; the caller ends it with Release. Null when memory is short,
// which callers take as "no skin support".
extern "C" ISkinManager* __stdcall CreateSkinManager()
{
    try {
        return new snapcore::CSkinManager();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
