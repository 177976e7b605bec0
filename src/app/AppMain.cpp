#include "app/AppMain.h"

#include <commctrl.h>
#include <objbase.h>

#include <memory>

#include "app/AppFrame.h"
#include "app/Application.h"
#include "app/CommandLineFiles.h"
#include "app/InstanceGate.h"
#include "capture/CaptureEngine.h"
#include "capture/CaptureNames.h"
#include "res/resource.h"
#include "ui/MessageLoop.h"
#include "util/AppMessageBox.h"
#include "util/SystemReason.h"

static_assert(sizeof(INITCOMMONCONTROLSEX) == 8, "the common-controls record has one form");

namespace {
// The frame of a start for the tray waits hidden by its icon; with no notification
// area it waits minimised on the taskbar, so that it can always be found.
int TrayShowCommand(const CAppFrame& frame)
{
    return frame.TrayIcon().IsAdded() && FindWindowA("Shell_TrayWnd", nullptr) ? SW_HIDE : SW_SHOWMINNOACTIVE;
}
}  // namespace

int Run(int showCmd, const std::vector<std::string>& files, bool tray)
{
    CMessageLoop loop;
    g_app.AddMessageLoop(&loop);

    auto frame = std::make_unique<CAppFrame>();
    g_hMainFrame = frame->CreateFrame();
    if (!g_hMainFrame) {
        g_app.RemoveMessageLoop();
        return 0;
    }

    ShowWindow(g_hMainFrame, tray ? TrayShowCommand(*frame) : showCmd);
    // Files named on the command line open over the frame the user already sees.
    UpdateWindow(g_hMainFrame);
    frame->Files().OpenFiles(files);
    frame->HandedFiles().Start();
    RemoveStaleRecordings();
    int exitCode = loop.Run();

    g_app.RemoveMessageLoop();
    frame.reset();
    return exitCode;
}

int LumigrabMain(HINSTANCE hInstance, int showCmd)
{
    g_app.Init(hInstance);

    // Before anything can show a message: a copy that hands its files over shows none.
    const CommandLineRequest request = ReadCommandLine(GetCommandLineW());
    CInstanceGate gate;
    if (!request.newCopy) {
        DWORD reason = 0;
        switch (gate.Enter(request.files, reason)) {
        case CInstanceGate::Result::HandedOver:
            return 0;
        case CInstanceGate::Result::NotAnswering:
            AppMessageBox(nullptr, IDS_RUNNING_COPY_NOT_ANSWERING, MB_ICONEXCLAMATION,
                          SystemReason(reason).c_str());
            return kNotAnsweringExitCode;
        case CInstanceGate::Result::RunHere:
            break;
        }
    }

    CoInitialize(nullptr);

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES;
    InitCommonControlsEx(&controls);

    // Without the engine the program still opens, views and saves images.
    if (!g_captureEngine.Load())
        AppMessageBox(nullptr, IDS_ENGINE_MISSING, MB_ICONEXCLAMATION);

    int exitCode = Run(showCmd, request.files, request.tray);
    // The frame is gone: a start from now on runs by itself.
    gate.Leave();

    g_hMainFrame = nullptr;
    g_app.Term();
    g_captureEngine.Unload();
    CoUninitialize();
    return exitCode;
}
