#pragma once

#include "settings/Settings.h"
#include "ui/PropertyPage.h"

// The second page of the Options sheet: the name prefix of new captures and
// automatic saving (folder and format).
class CSavePage : public CPropertyPage {
public:
    explicit CSavePage(SaveOptions& options);

    // Shows the options again (after restore defaults).
    void Load();

private:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND hControl) override;
    bool OnKillActive() override;

    // Folder, Browse and format matter only while auto-save is on.
    void EnableAutoSave();
    // Untitled captures are named from the prefix and the capture number.
    void ShowExample();
    void BrowseForFolder();
    static int CALLBACK OnBrowserEvent(HWND hBrowser, UINT msg, LPARAM, LPARAM folder);

    SaveOptions& m_options;
};
