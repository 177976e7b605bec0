#include "capture/CaptureEngine.h"

#include "settings/Settings.h"
#include "util/ModulePath.h"

CCaptureEngine g_captureEngine;

namespace {
constexpr int kModeFullScreen = 0;
constexpr int kModeWindow = 1;
constexpr int kModeObject = 3;

CaptureOptions CurrentCaptureOptions()
{
    return {g_settings.m_bSimulatePrintScreen, g_settings.m_bIncludeCursor};
}

// Only a value that really changed marks the settings for writing at exit.
void KeepChangedValue(int32_t returned, int32_t& setting)
{
    if (returned == setting)
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
    Unload();
    char path[MAX_PATH];
    if (!MakeModuleFilePath("snapcore.dll", path))
        return false;
    m_hModule.reset(LoadLibraryA(path));
    if (!m_hModule)
        return false;
    m_pCaptureFullScreen = Resolve<CaptureFullScreenProc>(m_hModule.get(), "CaptureFullScreen");
    m_pDoCaptureModal = Resolve<DoCaptureModalProc>(m_hModule.get(), "DoCaptureModal");
    m_pCreateSkinManager = Resolve<CreateSkinManagerProc>(m_hModule.get(), "CreateSkinManager");
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
    m_hModule.reset();
}

int CCaptureEngine::ResolveMode(int mode)
{
    if (mode == -1)
        mode = g_settings.m_nModalMode;
    return mode >= kModeFullScreen && mode <= kModeObject ? mode : kModeWindow;
}

HBITMAP CCaptureEngine::CaptureFullScreen()
{
    if (!m_pCaptureFullScreen)
        return nullptr;
    CaptureOptions options = CurrentCaptureOptions();
    return m_pCaptureFullScreen(&options);
}

HBITMAP CCaptureEngine::CaptureModal(int mode)
{
    if (!m_pDoCaptureModal)
        return nullptr;
    CaptureOptions options = CurrentCaptureOptions();
    AuxWindowOptions aux = g_settings;
    HBITMAP bitmap = m_pDoCaptureModal(ResolveMode(mode), &options, &aux);
    KeepChangedValue(aux.m_nMagnification, g_settings.m_nMagnification);
    KeepChangedValue(aux.m_nSkin, g_settings.m_nSkin);
    return bitmap;
}

ISkinManager* CCaptureEngine::CreateSkinManager()
{
    return m_pCreateSkinManager ? m_pCreateSkinManager() : nullptr;
}
