#pragma once
#include <windows.h>
#include "scoped/ScopedHandles.h"
#include "settings/Settings.h"
#include "snapcore.h"

// The binding to the capture engine library next to the executable. The engine is
// either loaded with all its entry points for the whole run, or absent.
class CCaptureEngine {
public:
    CCaptureEngine() = default;
    ~CCaptureEngine();
    CCaptureEngine(const CCaptureEngine&) = delete;
    CCaptureEngine& operator=(const CCaptureEngine&) = delete;

    // The mode that only SelectOnFrozenScreen offers: a click takes the window or
    // control under the pointer, a drag a region.
    static constexpr int kModeAnyPart = 4;

    // Loads snapcore.dll from the executable's folder; false when the path cannot
    // be made, the library does not load or one of its three first entry points is
    // missing. SelectOnFrozenScreen is optional: an older engine still loads.
    bool Load();
    // The same for the library at path.
    bool Load(const char* path);
    void Unload();
    bool IsLoaded() const { return m_hModule != nullptr; }

    // The calls below hand the engine the capture flags of settings: a capture's own,
    // or g_settings as it is at that moment. Each returns null when the engine is not
    // loaded; a returned bitmap belongs to the caller.
    HBITMAP CaptureFullScreen(const GeneralOptions& settings = g_settings);
    // mode: 0 full screen, 1 window, 2 region, 3 object; -1 takes m_nModalMode.
    // Magnifier values the user changed in the engine are kept in g_settings.
    HBITMAP CaptureModal(int mode, const CSettings& settings = g_settings);
    ISkinManager* CreateSkinManager();
    // The whole frozen screen (its dimension: the top-left's screen position) and in
    // chosen the part the user chose, in screen coordinates; null when cancelled, when
    // the engine is not loaded or lacks the call. mode: 1 window, 2 region, 3 object,
    // kModeAnyPart; -1 takes m_nModalMode, and a full-screen or unknown one means window.
    // Magnifier values are kept as CaptureModal keeps them.
    CBitmapOwner SelectOnFrozenScreen(int mode, const CSettings& settings, RECT* chosen);
    bool CanSelectOnFrozenScreen() const { return m_pSelectOnFrozenScreen != nullptr; }

    // The mode actually passed for a requested one: -1 means the configured mode,
    // and anything the engine does not know (a damaged settings file) means window.
    static int ResolveMode(int mode, int configuredMode = g_settings.m_nModalMode);

private:
    using CaptureFullScreenProc = HBITMAP(__stdcall*)(CaptureOptions*);
    using DoCaptureModalProc = HBITMAP(__stdcall*)(int, CaptureOptions*, AuxWindowOptions*);
    using CreateSkinManagerProc = ISkinManager*(__stdcall*)();
    using SelectOnFrozenScreenProc = HBITMAP(__stdcall*)(int, CaptureOptions*, AuxWindowOptions*, RECT*);

    // Calls the engine with the capture flags and magnifier values of settings, and
    // keeps the magnifier values the user changed.
    template <typename Call>
    HBITMAP WithMagnifier(const CSettings& settings, Call call);

    CModuleOwner m_hModule;
    CaptureFullScreenProc m_pCaptureFullScreen = nullptr;
    DoCaptureModalProc m_pDoCaptureModal = nullptr;
    CreateSkinManagerProc m_pCreateSkinManager = nullptr;
    SelectOnFrozenScreenProc m_pSelectOnFrozenScreen = nullptr;
};

extern CCaptureEngine g_captureEngine;
