#include "capture/CaptureEngine.h"

#include "settings/Settings.h"
#include "util/ModulePath.h"

CCaptureEngine g_captureEngine;

namespace {
constexpr int kModeFullScreen = 0;
constexpr int kModeWindow = 1;
constexpr int kModeObject = 3;
static_assert(CCaptureEngine::kModeAnyPart == kModeObject + 1, "the engine's modes run on from object");

CaptureOptions EngineFlags(const GeneralOptions& settings)
{
    return {settings.m_bSimulatePrintScreen, settings.m_bIncludeCursor};
}

// Only a value the user changed in the engine is kept, and marks the settings for
// writing at exit.
void KeepChangedValue(int32_t handed, int32_t returned, int32_t& setting)
{
    if (returned == handed)
        return;
    setting = returned;
    g_settings.m_bModified = 1;
}

template <typename Proc>
Proc Resolve(HMODULE module, const char* name)
{
    // GetProcAddress hands back a generic pointer; the engine's header fixes the real type.
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
}

CCaptureEngine::~CCaptureEngine() { Unload(); }

bool CCaptureEngine::Load()
{
    char path[MAX_PATH];
    if (!MakeModuleFilePath("snapcore.dll", path)) {
        Unload();
        return false;
    }
    return Load(path);
}

bool CCaptureEngine::Load(const char* path)
{
    Unload();
    m_hModule.reset(LoadLibraryA(path));
    if (!m_hModule)
        return false;
    m_pCaptureFullScreen = Resolve<CaptureFullScreenProc>(m_hModule.get(), "CaptureFullScreen");
    m_pDoCaptureModal = Resolve<DoCaptureModalProc>(m_hModule.get(), "DoCaptureModal");
    m_pCreateSkinManager = Resolve<CreateSkinManagerProc>(m_hModule.get(), "CreateSkinManager");
    m_pSelectOnFrozenScreen = Resolve<SelectOnFrozenScreenProc>(m_hModule.get(), "SelectOnFrozenScreen");
    if (m_pCaptureFullScreen && m_pDoCaptureModal && m_pCreateSkinManager)
        return true;
    Unload();
    return false;
}

void CCaptureEngine::Unload()
{
    m_pCaptureFullScreen = nullptr;
    m_pDoCaptureModal = nullptr;
    m_pCreateSkinManager = nullptr;
    m_pSelectOnFrozenScreen = nullptr;
    m_hModule.reset();
}

int CCaptureEngine::ResolveMode(int mode, int configuredMode)
{
    if (mode == -1)
        mode = configuredMode;
    return mode >= kModeFullScreen && mode <= kModeObject ? mode : kModeWindow;
}

HBITMAP CCaptureEngine::CaptureFullScreen(const GeneralOptions& settings)
{
    if (!m_pCaptureFullScreen)
        return nullptr;
    CaptureOptions options = EngineFlags(settings);
    return m_pCaptureFullScreen(&options);
}

template <typename Call>
HBITMAP CCaptureEngine::WithMagnifier(const CSettings& settings, Call call)
{
    CaptureOptions options = EngineFlags(settings);
    const AuxWindowOptions handed = settings;
    AuxWindowOptions aux = handed;
    HBITMAP bitmap = call(&options, &aux);
    KeepChangedValue(handed.m_nMagnification, aux.m_nMagnification, g_settings.m_nMagnification);
    KeepChangedValue(handed.m_nSkin, aux.m_nSkin, g_settings.m_nSkin);
    return bitmap;
}

HBITMAP CCaptureEngine::CaptureModal(int mode, const CSettings& settings)
{
    if (!m_pDoCaptureModal)
        return nullptr;
    mode = ResolveMode(mode, settings.m_nModalMode);
    return WithMagnifier(settings, [&](CaptureOptions* options, AuxWindowOptions* aux) {
        return m_pDoCaptureModal(mode, options, aux);
    });
}

CBitmapOwner CCaptureEngine::SelectOnFrozenScreen(int mode, const CSettings& settings, RECT* chosen)
{
    if (!m_pSelectOnFrozenScreen)
        return nullptr;
    if (mode != kModeAnyPart) {
        mode = ResolveMode(mode, settings.m_nModalMode);
        if (mode == kModeFullScreen)
            mode = kModeWindow;
    }
    return CBitmapOwner(WithMagnifier(settings, [&](CaptureOptions* options, AuxWindowOptions* aux) {
        return m_pSelectOnFrozenScreen(mode, options, aux, chosen);
    }));
}

ISkinManager* CCaptureEngine::CreateSkinManager()
{
    return m_pCreateSkinManager ? m_pCreateSkinManager() : nullptr;
}
