// The library's three entry points. Their undecorated export names come from
// snapcore.def.
#include "snapcore.h"

#include <new>

#include "SkinManager.h"
#include "VirtualScreenCapture.h"

namespace {

constexpr int kModeFullScreen = 0;

// A caller that passes no options gets the plain grab.
CaptureOptions OptionsOrDefaults(const CaptureOptions* options)
{
    return options ? *options : CaptureOptions{};
}

} // namespace

extern "C" HBITMAP __stdcall CaptureFullScreen(CaptureOptions* options)
{
    return snapcore::CaptureVirtualScreen(OptionsOrDefaults(options));
}

// Window, region and object selection are not available yet: those modes capture nothing.
extern "C" HBITMAP __stdcall DoCaptureModal(int mode, CaptureOptions* options, AuxWindowOptions*)
{
    return mode == kModeFullScreen ? CaptureFullScreen(options) : nullptr;
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
