#pragma once

// For the catch-all handler at the top of a codec call: stores the system error code
// that stands for the exception being handled as the thread's last error and returns
// 0, the codecs' failure result. A failed system call keeps its own code, a failed
// allocation becomes ERROR_NOT_ENOUGH_MEMORY, and a format violation or library error
// ERROR_INVALID_DATA. The codecs show nothing; their callers word the failure.
int FailWithCurrentException() noexcept;
