#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "annotate/Annotation.h"
#include "annotate/AnnotationTools.h"
#include "scoped/ScopedHandles.h"
#include "settings/Settings.h"

enum class DeskAction { kCancelled, kCopy, kPin, kSaved, kOpenAsDocument };

struct DeskResult {
    DeskAction action = DeskAction::kCancelled;
    RECT rcSelection{};             // the final selection, screen coordinates
    CBitmapOwner picture;           // the selection's pixels as frozen (clean, no marks)
    std::vector<Annotation> marks;  // the marks, in the picture's coordinates
    std::string savedPath;          // kSaved: the file written
};

// Shows the frozen frame (frameOrigin: its top-left on the screen) over the virtual screen
// with the selection (screen coordinates) and its toolbar, and returns when the user
// leaves. Saving happens inside, so that a cancelled Save As returns to the desk; copying,
// pinning and opening as a document are the caller's, from the result. tools: the shared
// annotation tools of the frame. Nothing is kept when cancelled.
DeskResult RunCaptureDesk(HBITMAP frame, POINT frameOrigin, const RECT& selection, CAnnotationTools& tools,
                          const CSettings& settings);

// The result's picture with its marks painted over it, or null with the last error set.
CBitmapOwner FlattenDeskResult(const DeskResult& result);
