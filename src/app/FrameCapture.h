#pragma once
#include <windows.h>

#include "capture/CaptureHost.h"
#include "capture/CaptureWorkflow.h"
#include "scoped/ScopedHandles.h"

class CDocumentTabs;
class CPinBoard;
class CTextReader;
class CTrayIcon;
class CWindow;

// The frame's side of capturing: the commands of the capture menu and what the capture
// steps need of the frame (its documents, pins and tray icon).
class CFrameCapture : private ICaptureHost {
public:
    CFrameCapture(const CWindow& frame, CDocumentTabs& documents, CPinBoard& pins, CTextReader& textReader,
                  CTrayIcon& trayIcon, CAnnotationTools& tools);
    CFrameCapture(const CFrameCapture&) = delete;
    CFrameCapture& operator=(const CFrameCapture&) = delete;

    // Sets the capture commands' first states from the settings.
    void InitCommandStates() const;
    // The capture menu's commands; false for any other.
    bool OnCommand(UINT command);
    // Marks the chosen delay in a popup that lists the delays.
    void CheckCountdownItem(HMENU popup) const;

    CCaptureWorkflow& Workflow() { return m_workflow; }

private:
    void ToggleIncludeCursor();
    void ChooseCountdown(UINT command);

    HWND CaptureWindow() const override;
    bool CanBeRecalled() const override;
    bool AdoptCapture(CBitmapOwner bitmap, const char* name, bool saved, std::vector<Annotation> marks) override;
    CAnnotationTools& AnnotationTools() override { return m_tools; }
    void ShowCountdown(int secondsLeft) override;
    bool CopyCapture(HBITMAP bitmap) override;
    void AnnounceCapture(const char* savedPath, bool copied) override;
    void AnnounceCountdownRefused() override;
    void ShowCaptureStatus(const char* text) override;
    bool PinCapture(HBITMAP bitmap, POINT origin) override;
    bool HidePins() override;
    void ShowPins() override;
    void ReadText(HBITMAP picture, const RECT& place) override;
    void ShowRecording(const SRecordingFiles& files, const RECT& place) override;
    void OnCaptureEnded() override;

    const CWindow& m_frame;
    CDocumentTabs& m_documents;
    CPinBoard& m_pins;
    CTextReader& m_textReader;
    CTrayIcon& m_trayIcon;
    CAnnotationTools& m_tools;
    CCaptureWorkflow m_workflow{*this};
};
