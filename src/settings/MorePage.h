#pragma once

#include "settings/Settings.h"
#include "ui/PropertyPage.h"

// The fifth page of the Options sheet, 更多: what the program adds to the specified
// options (the countdown before a capture, what happens after one, whether the
// interactive captures end in the capture desk, the hotkeys that capture the last
// region again and capture to mark up). Its values go to lumigrab.ini, except whether
// the program starts with Windows, which is the registry's.
class CMorePage : public CPropertyPage {
public:
    // saveState is the sheet's working copy of the 保存 page's group: it holds what that
    // page showed when the user last left it, so "no document" follows its auto-save box.
    // startWithWindows is the sheet's choice of the logon entry, applied at OK.
    CMorePage(MoreOptions& options, const SaveOptions& saveState, bool& startWithWindows);

    // Shows the options again (after restore defaults).
    void Load();

private:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND hControl) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    bool OnKillActive() override;

    // "No document" means something only when the capture is kept some other way.
    void EnableNoDocument();
    void EnableHotkeys();
    struct PageHotkey {
        int32_t enabled = 0;
        uint16_t key = 0;
        uint16_t modifiers = 0;
        bool complete = true;  // false: enabled without keys, and refused
    };
    PageHotkey ReadHotkey(int checkId, int hotkeyId);

    MoreOptions& m_options;
    const SaveOptions& m_saveState;
    bool& m_bStartWithWindows;
};
