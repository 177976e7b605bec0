#include "capture/desk/CaptureDesk.h"

#include "annotate/AnnotationPainter.h"
#include "capture/desk/DeskWindow.h"

DeskResult RunCaptureDesk(HBITMAP frame, POINT frameOrigin, const RECT& selection, CAnnotationTools& tools,
                          const CSettings& settings)
{
    CDeskWindow desk(frame, frameOrigin, selection, tools, settings);
    if (!desk.Show())
        return DeskResult();
    return desk.Run();
}

CBitmapOwner FlattenDeskResult(const DeskResult& result)
{
    return CBitmapOwner(FlattenAnnotations(result.picture.get(), result.marks));
}
