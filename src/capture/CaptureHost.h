#pragma once
#include <windows.h>

#include <vector>

#include "annotate/Annotation.h"
#include "document/GifPlaybackWindow.h"
#include "scoped/ScopedHandles.h"

class CAnnotationTools;

// What the capture steps need of the window that starts them.
class ICaptureHost {
public:
    // The window: the owner of messages, the receiver of the triggers, and what is
    // hidden while the screen is taken.
    virtual HWND CaptureWindow() const = 0;
    // Whether the user can bring a hidden window back by himself (a tray icon).
    virtual bool CanBeRecalled() const = 0;
    // Turns a captured bitmap into a document; name is a full path or an unsaved
    // capture's title, saved says the file holds it; marks stay editable over the
    // picture. False when it could not.
    virtual bool AdoptCapture(CBitmapOwner bitmap, const char* name, bool saved,
                              std::vector<Annotation> marks = {}) = 0;
    // The tools the window's documents draw with, which a capture marked up before it
    // goes anywhere draws with too.
    virtual CAnnotationTools& AnnotationTools() = 0;
    // The seconds left before a delayed capture, each time they change; 0 when the
    // countdown has ended, by reaching zero or by being cancelled.
    virtual void ShowCountdown(int secondsLeft) = 0;
    // Puts a capture (still the caller's) on the clipboard as the Copy command does,
    // and tells the user as it does when that fails; true when it is there.
    virtual bool CopyCapture(HBITMAP bitmap) = 0;
    // Tells the user where a capture that opens no document went: the file it was
    // saved as (null when none) and whether it is on the clipboard.
    virtual void AnnounceCapture(const char* savedPath, bool copied) = 0;
    // Tells the user, on the window's status line, how a capture ended.
    virtual void ShowCaptureStatus(const char* text) = 0;
    // Tells the user that a countdown ended without a capture because a modal window
    // was open at zero.
    virtual void AnnounceCountdownRefused() = 0;
    // Pins a copy of the bitmap (still the caller's) with its top-left pixel at origin,
    // in screen coordinates, and tells the user when it cannot; true when it is pinned.
    virtual bool PinCapture(HBITMAP bitmap, POINT origin) = 0;
    // The pinned images leave the screen while it is taken; false when none were shown.
    virtual bool HidePins() = 0;
    virtual void ShowPins() = 0;
    // Reads the text in a picture (still the caller's) that showed at place on the screen,
    // and tells the user when it cannot.
    virtual void ReadText(HBITMAP picture, const RECT& place) = 0;
    // Opens the window that plays a finished recording (see ShowGifPlayback); place is
    // the recorded part of the screen.
    virtual void ShowRecording(const SRecordingFiles& files, const RECT& place) = 0;
    // A capture, or a countdown to one, has ended, with or without a picture.
    virtual void OnCaptureEnded() = 0;

protected:
    ~ICaptureHost() = default;
};
