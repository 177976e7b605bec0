#include "app/FrameAnnotationTools.h"

#include "app/DocumentTabs.h"
#include "app/FrameBars.h"
#include "document/DocumentMessages.h"
#include "document/ImageFrame.h"
#include "res/resource.h"

void CFrameAnnotationTools::Start(HWND frame)
{
    m_hWndFrame = frame;
    m_file.Load();
    m_tools.SetObserver([this](unsigned properties) { OnChanged(properties); });
}

bool CFrameAnnotationTools::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) >= ID_TOOL_HAND && LOWORD(wParam) <= ID_TOOL_CROP) {
        m_tools.SetTool(static_cast<AnnotationTool>(LOWORD(wParam) - ID_TOOL_HAND));
        return true;
    }
    return m_bar.OnCommand(wParam, lParam);
}

void CFrameAnnotationTools::CheckToolItem(HMENU popup) const
{
    if (GetMenuState(popup, ID_TOOL_HAND, MF_BYCOMMAND) == static_cast<UINT>(-1))
        return;
    CheckMenuRadioItem(popup, ID_TOOL_HAND, ID_TOOL_CROP, ID_TOOL_HAND + static_cast<UINT>(m_tools.Tool()),
                       MF_BYCOMMAND);
}

void CFrameAnnotationTools::OnDocumentCreated(CImageFrame& document)
{
    document.View().SetAnnotationTools(&m_tools);
    if (!m_bar.Handle() && m_bar.Create(m_hWndFrame))
        m_bars.AddAnnotationBand(m_bar.Handle());
    m_bars.ShowAnnotationBand(true);
}

void CFrameAnnotationTools::OnLastDocumentClosed()
{
    m_bars.ShowAnnotationBand(false);
}

void CFrameAnnotationTools::OnChanged(unsigned properties)
{
    m_bar.Update();
    if (HWND document = m_documents.ActiveDocument())
        SendMessageA(document, WM_APP_ANNOTATION_CHANGED, properties, 0);
    m_file.OnChanged(properties);
}
