#include "app/FrameClass.h"

#include "app/Application.h"
#include "res/resource.h"
#include "ui/Window.h"

void RegisterFrameClass()
{
    HINSTANCE instance = g_app.Instance();
    WNDCLASSEXA wc{};
    if (GetClassInfoExA(instance, kFrameClassName, &wc))
        return;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = kFrameClassName;
    CWindow::RegisterClass(wc);
}
