#pragma once

#include <functional>
#include <memory>

#include "settings/Settings.h"
#include "settings/SkinPreview.h"
#include "snapcore.h"
#include "ui/PropertyPage.h"

// The fourth page of the Options sheet: the magnification of the capture engine's
// magnifier window and the skin it is drawn with, with a live preview. The page asks
// the engine for a skin manager when its window is made and releases it with itself,
// so a sheet run that never shows the page never loads one.
class CAuxPage : public CPropertyPage {
public:
    // Where skin managers come from: the program hands in the capture engine's maker,
    // so settings need not know the engine's binding.
    using SkinManagerSource = std::function<ISkinManager*()>;

    CAuxPage(AuxWindowOptions& options, SkinManagerSource skinManagerSource);

    // Shows the options again (after restore defaults).
    void Load();

private:
    static constexpr uint32_t kMinMagnification = 1;
    static constexpr uint32_t kMaxMagnification = 32;

    struct SkinManagerRelease {
        void operator()(ISkinManager* manager) const { manager->Release(); }
    };

    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND hControl) override;
    bool OnKillActive() override;

    void ShowSkin(int index, bool erase);

    AuxWindowOptions& m_options;
    SkinManagerSource m_skinManagerSource;
    std::unique_ptr<ISkinManager, SkinManagerRelease> m_skinManager;
    CSkinPreview m_preview;
};
