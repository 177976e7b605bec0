#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "annotate/Annotation.h"
#include "annotate/AnnotationTools.h"
#include "scoped/ScopedHandles.h"
#include "settings/Settings.h"

// kNotShown: the desk could not be made or shown; the caller still has the frame and
// the selection, and nothing was chosen. kLongshot: the user asked for a long screenshot of
// the selection (rcSelection), before marking anything; nothing else is handed back.
// kReadText: the user asked for the text in the selection, marks and all.
enum class DeskAction { kCancelled, kCopy, kPin, kSaved, kOpenAsDocument, kNotShown, kLongshot, kReadText };

struct DeskResult {
    DeskAction action = DeskAction::kCancelled;
    RECT rcSelection{};             // the final selection, screen coordinates
    CBitmapOwner picture;           // the selection's pixels as frozen (clean, no marks)
    std::vector<Annotation> marks;  // the marks, in the picture's coordinates
    std::string savedPath;          // kSaved: the file written
};

class CDeskWindow;

// The frozen frame shown again over the virtual screen with the selection and its toolbar,
// until the user leaves. Saving happens inside, so that a cancelled Save As returns to the
// desk; copying, pinning and opening as a document are the caller's, from the result.
// tools: the shared annotation tools of the frame. Nothing is kept when cancelled.
//
// In two steps, so that the user waits only for what depends on the capture:
//     CCaptureDesk desk(tools, settings);
//     desk.Prepare();                         // before the capture's overlay
//     ... the user selects on the frozen screen ...
//     DeskResult result = desk.Run(frame, origin, selection);
// Prepare makes the desk's windows hidden: they take no focus, show in no taskbar and are
// in no grab of the screen. Run shows the frame drawn, the toolbar beside the selection,
// and returns when the user leaves; it prepares first when that was not done. One Run per
// desk; a desk never run just goes.
class CCaptureDesk {
public:
    CCaptureDesk(CAnnotationTools& tools, const CSettings& settings);
    ~CCaptureDesk();
    CCaptureDesk(const CCaptureDesk&) = delete;
    CCaptureDesk& operator=(const CCaptureDesk&) = delete;

    // False when the desk cannot be made.
    bool Prepare();
    // frame: the caller's, whose top-left shows at frameOrigin on the screen, a top-down DIB
    // section of 32 bits a pixel as the engine hands it; selection in screen coordinates. A
    // desk that cannot be made or shown answers kNotShown.
    DeskResult Run(HBITMAP frame, POINT frameOrigin, const RECT& selection);
    // The same for a picture taken elsewhere (a long screenshot, of any height), shown at 100%
    // where it was taken: place (screen coordinates) gives its top-left, on the monitor that
    // shows most of place. A picture taller than that monitor scrolls with the wheel. The
    // picture is the caller's, as the frame is for Run, and stays fixed (no kLongshot); the
    // result's picture is a copy of all of it, the marks in its coordinates, and rcSelection
    // where it showed on the screen at the end.
    DeskResult RunPicture(HBITMAP picture, const RECT& place);

private:
    // Runs the desk once shown; kNotShown when it could not be.
    DeskResult RunShown(bool shown);

    std::unique_ptr<CDeskWindow> m_window;
    bool m_bRun = false;
};

// A desk prepared and run at once.
DeskResult RunCaptureDesk(HBITMAP frame, POINT frameOrigin, const RECT& selection, CAnnotationTools& tools,
                          const CSettings& settings);

// The result's picture with its marks painted over it, or null with the last error set.
CBitmapOwner FlattenDeskResult(const DeskResult& result);
