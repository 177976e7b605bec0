#include "app/AppMain.h"

#include <commctrl.h>
#include <objbase.h>

#include <memory>

#include "app/AppFrame.h"
#include "app/Application.h"
#include "app/CommandLineFiles.h"
#include "capture/CaptureEngine.h"
#include "res/resource.h"
#include "ui/MessageLoop.h"
#include "util/AppMessageBox.h"

static_assert(sizeof(INITCOMMONCONTROLSEX) == 8, "the common-controls record has one form");

int Run(int showCmd, const std::vector<std::string>& files)
{
    CMessageLoop loop;
    g_app.AddMessageLoop(&loop);

    auto frame = std::make_unique<CAppFrame>();
    g_hMainFrame = frame->CreateFrame();
    if (!g_hMainFrame) {
        g_app.RemoveMessageLoop();
        return 0;
    }

    ShowWindow(g_hMainFrame, showCmd);
    // Files named on the command line open over the frame the user already sees.
    UpdateWindow(g_hMainFrame);
    frame->Files().OpenFiles(files);
    int exitCode = loop.Run();

    g_app.RemoveMessageLoop();
    frame.reset();
    return exitCode;
}

int LumigrabMain(HINSTANCE hInstance, int showCmd)
{
    CoInitialize(nullptr);

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES;
    InitCommonControlsEx(&controls);

    g_app.Init(hInstance);

    // Without the engine the program still opens, views and saves images.
    if (!g_captureEngine.Load())
        AppMessageBox(nullptr, IDS_ENGINE_MISSING, MB_ICONEXCLAMATION);

    int exitCode = Run(showCmd, CommandLineFiles(GetCommandLineW()));

    g_hMainFrame = nullptr;
    g_app.Term();
    g_captureEngine.Unload();
    CoUninitialize();
    return exitCode;
}
