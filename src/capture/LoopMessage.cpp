#include "capture/LoopMessage.h"

bool GetLoopMessage(MSG& message)
{
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0)
        PostQuitMessage(static_cast<int>(message.wParam));
    return got > 0;
}
