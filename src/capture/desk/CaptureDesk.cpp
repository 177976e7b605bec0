#include "capture/desk/CaptureDesk.h"

#include "annotate/AnnotationPainter.h"
#include "capture/desk/DeskWindow.h"

CCaptureDesk::CCaptureDesk(CAnnotationTools& tools, const CSettings& settings)
    : m_window(std::make_unique<CDeskWindow>(tools, settings))
{
}

CCaptureDesk::~CCaptureDesk() = default;

bool CCaptureDesk::Prepare()
{
    return m_window->Prepare();
}

DeskResult CCaptureDesk::Run(HBITMAP frame, POINT frameOrigin, const RECT& selection)
{
    if (m_bRun)
        return DeskResult();
    m_bRun = true;
    return RunShown(m_window->Show(frame, frameOrigin, selection));
}

DeskResult CCaptureDesk::RunPicture(HBITMAP picture, const RECT& place)
{
    if (m_bRun)
        return DeskResult();
    m_bRun = true;
    return RunShown(m_window->ShowPicture(picture, place));
}

DeskResult CCaptureDesk::RunShown(bool shown)
{
    if (!shown) {
        DeskResult notShown;
        notShown.action = DeskAction::kNotShown;
        return notShown;
    }
    return m_window->Run();
}

DeskResult RunCaptureDesk(HBITMAP frame, POINT frameOrigin, const RECT& selection, CAnnotationTools& tools,
                          const CSettings& settings)
{
    CCaptureDesk desk(tools, settings);
    return desk.Run(frame, frameOrigin, selection);
}

CBitmapOwner FlattenDeskResult(const DeskResult& result)
{
    return CBitmapOwner(FlattenAnnotations(result.picture.get(), result.marks));
}
