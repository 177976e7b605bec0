#include "annotate/GdiplusSession.h"

#include <gdiplus.h>

bool CGdiplusSession::Start()
{
    static CGdiplusSession session;
    return session.m_bRunning;
}

CGdiplusSession::CGdiplusSession()
{
    const Gdiplus::GdiplusStartupInput input;
    m_bRunning = Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
}

CGdiplusSession::~CGdiplusSession()
{
    if (m_bRunning)
        Gdiplus::GdiplusShutdown(m_token);
}
