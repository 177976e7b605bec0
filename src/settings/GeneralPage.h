#pragma once

#include <functional>

#include "settings/Settings.h"
#include "ui/PropertyPage.h"

// The first page of the Options sheet: capture behaviour. Since the sheet always
// opens on it, its first WM_INITDIALOG is where the sheet is set up.
class CGeneralPage : public CPropertyPage {
public:
    using SheetSetUp = std::function<void(HWND hSheet)>;

    CGeneralPage(GeneralOptions& options, SheetSetUp setUpSheet);

    // Shows the options again (after restore defaults).
    void Load();

private:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND hControl) override;
    bool OnKillActive() override;

    // The delay counts only while the main window is hidden for a capture.
    void EnableDelay();

    GeneralOptions& m_options;
    SheetSetUp m_setUpSheet;
};
