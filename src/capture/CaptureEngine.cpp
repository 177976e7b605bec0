#include "capture/CaptureEngine.h"

#include "util/ModulePath.h"

CCaptureEngine g_captureEngine;

namespace {
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
    m_hModule = LoadLibraryA(path);
    if (!m_hModule)
        return false;
    m_pCaptureFullScreen = Resolve<CaptureFullScreenProc>(m_hModule, "CaptureFullScreen");
    m_pDoCaptureModal = Resolve<DoCaptureModalProc>(m_hModule, "DoCaptureModal");
    m_pCreateSkinManager = Resolve<CreateSkinManagerProc>(m_hModule, "CreateSkinManager");
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
    if (m_hModule) {
        FreeLibrary(m_hModule);
        m_hModule = nullptr;
    }
}
