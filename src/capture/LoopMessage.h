#pragma once
#include <windows.h>

// The next message for a capture session's own loop, run inside the program's. False when
// that loop must end: the thread was told to quit (posted again, so that the program's loop
// ends too) or the queue failed.
bool GetLoopMessage(MSG& message);
