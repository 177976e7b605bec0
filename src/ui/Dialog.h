#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// Base of every dialog the program implements. The object is bound to its window at
// WM_INITDIALOG (messages before that get the default handling) and released from it
// at WM_NCDESTROY. DialogProc has one switch that calls one handler per message;
// derived classes override the handlers, or DialogProc for messages the base leaves
// alone. The control helpers read and write the dialog's controls by id.
class CDialog {
public:
    explicit CDialog(UINT templateId) : m_templateId(templateId) {}
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;
    virtual ~CDialog() = default;

    HWND Handle() const { return m_hWnd; }
    UINT TemplateId() const { return m_templateId; }

    // Runs the dialog modally over hOwner; returns what EndDialog was given, or -1
    // when the dialog could not be created.
    INT_PTR DoModal(HWND hOwner);

    HWND Item(int id) const { return GetDlgItem(m_hWnd, id); }
    void EnableItem(int id, bool enable) { EnableWindow(Item(id), enable); }

    // Check boxes: the value is the check state (0 unchecked, 1 checked, 2 indeterminate).
    int32_t GetCheck(int id) const;
    void SetCheck(int id, int32_t state);
    // Shows a stored flag; a value no check box can show is first corrected to 0.
    void ShowFlag(int id, int32_t& flag);

    // Edits that hold an unsigned decimal number. GetUnsigned is false for an empty
    // text, anything but digits, or a value past 32 bits.
    bool GetUnsigned(int id, uint32_t& value) const;
    void SetUnsigned(int id, uint32_t value);

    // Controls that hold a text (ANSI bytes). GetText is false when the control is
    // missing or its text is longer than maxBytes (a double-byte character counts
    // twice): an edit's own limit counts characters on some systems.
    bool GetText(int id, std::string& text, size_t maxBytes = std::string::npos) const;
    void SetText(int id, const char* text) { SetDlgItemTextA(m_hWnd, id, text); }

    // List boxes and drop-down lists: entries are chosen by index, -1 is no selection.
    void AddListEntry(int id, const char* text);
    int GetSelection(int id) const;
    void SetSelection(int id, int index);
    // Shows a stored index; one the list does not hold is first replaced by fallback,
    // so that a damaged value never keeps the user on the page.
    void ShowSelection(int id, int32_t& index, int32_t fallback);

    // Hotkey controls: the virtual-key code is the low byte, the modifiers
    // (1 Shift, 2 Ctrl, 4 Alt, 8 extended) the high byte.
    void GetHotkey(int id, uint16_t& key, uint16_t& modifiers) const;
    void SetHotkey(int id, uint16_t key, uint16_t modifiers);

    // A value the user has to correct: beeps, puts the focus on the control and
    // returns false, so that callers can write `return Refuse(id);`.
    bool Refuse(int id);

protected:
    // Return FALSE when the handler has set the focus itself.
    virtual BOOL OnInitDialog() { return TRUE; }
    // True when the command was handled. OK and Cancel end the dialog with their id.
    virtual bool OnCommand(WORD id, WORD code, HWND hControl);
    // True when the notification was handled; result goes to DWLP_MSGRESULT.
    virtual bool OnNotify(const NMHDR& header, LRESULT& result);

    virtual INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // The procedure of a bound dialog. At WM_INITDIALOG the caller passes the object
    // it found in the message's parameter (null otherwise); every message from then on
    // goes to that object's DialogProc.
    static INT_PTR Route(CDialog* initialised, HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    HWND m_hWnd = nullptr;
};
