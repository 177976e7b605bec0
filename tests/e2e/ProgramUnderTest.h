#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "DialogAnswerer.h"
#include "MessagePump.h"
#include "TempFolder.h"
#include "ThreadWindows.h"

// Writes a blank picture of the screen's kind through the program's own writer, as
// format code formatCode (0 JPEG, 1 BMP); false when it could not be written.
bool WriteBlankImage(const std::string& path, int width, int height, int formatCode);

// lumigrab.cfg with the default options except the save group, the pause and the pointer.
void WriteCaptureSettings(const std::string& path, bool autoSave, const std::string& folder, int saveType,
                          int32_t pauseMs = 300, bool includeCursor = false);

// A file the build puts beside this test program (lumigrab.exe, snapcore.dll ...).
std::string BesideTestProgram(const char* fileName);

// Whether the frame's icon is in the notification area (the shell takes a change to it).
bool TrayIconShown(HWND frame);

// The real lumigrab.exe, copied with its capture engine into a folder of its own
// under the temporary folder and started there as a separate process. The driver
// finds the program's windows, sends them commands, answers its message boxes and
// reads what a user would see. The process is killed and the folder deleted when
// the object goes.
class CProgramUnderTest {
public:
    static const char kFrameClass[];

    enum class Engine { Present, Absent };
    explicit CProgramUnderTest(Engine engine = Engine::Present);
    ~CProgramUnderTest();
    CProgramUnderTest(const CProgramUnderTest&) = delete;
    CProgramUnderTest& operator=(const CProgramUnderTest&) = delete;

    // Puts the text-recognition engine and its language data beside the program.
    bool AddTextEngine() const;
    std::string PathOf(const char* fileName) const;
    std::vector<std::string> FileNames() const { return m_folder.FileNames(); }

    // arguments follow the quoted program path on its command line as they are.
    bool Start(const std::string& arguments = "");
    bool IsRunning() const;
    // Waits for the process to end; false when it is still running at the deadline.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);
    // Closes the program through its frame, answering 否 to every question about an
    // unsaved capture; false when it is still running after 20 seconds.
    bool CloseLettingCapturesGo(HWND frame) const;

    // Visible top-level windows of the program, in z-order; hidden ones too on request.
    std::vector<HWND> TopLevelWindows(bool hiddenToo = false) const;
    // The first visible top-level window of the class, and of that exact title when one is given.
    HWND FindWindow(const char* className, const char* title = nullptr) const;
    HWND WaitForWindow(const char* className, DWORD timeoutMs, const char* title = nullptr) const;
    HWND MainFrame(DWORD timeoutMs = 10000) const { return WaitForWindow(kFrameClass, timeoutMs); }
    // The main frame also while it is hidden in the tray.
    HWND HiddenMainFrame(DWORD timeoutMs = 10000) const;

    // A message box (dialog class #32770); its text is MessageBoxText's.
    HWND WaitForMessageBox(DWORD timeoutMs) const { return WaitForWindow("#32770", timeoutMs); }
    // Presses a dialog button the way a click does, and waits for the dialog to go.
    static bool PressButton(HWND dialog, int buttonId, DWORD timeoutMs = 5000);

    static void PostCommand(HWND window, int commandId);
    // Clicks an action's button on the capture desk's toolbar, as a user does.
    void ClickDeskAction(int command) const;

    // Drops the files on a window of the program as the shell does: a posted
    // WM_DROPFILES whose block of names lies in the program's own memory. Wine passes
    // the message's handle on as it is, so a global block of this process would mean
    // nothing there; a fixed block is its own address, so one written into the
    // program's memory reads as a dropped list. It stays until the program ends.
    void DropFiles(HWND window, const std::vector<std::string>& paths) const;

    // Texts of the program's common controls, read through a buffer in its process
    // (their messages carry pointers that are not carried across processes).
    std::string StatusPaneText(HWND statusBar, int part) const;
    std::string TabText(HWND tabStrip, int index) const;
    RECT ToolBarButtonRect(HWND toolBar, int command) const;
    // Types a text into a dialog's file-name box.
    static void SetFileNameBox(HWND dialog, const std::string& text);
    static std::string FileNameBox(HWND dialog);

private:
    CTempFolder m_folder;
    PROCESS_INFORMATION m_process{};
};
