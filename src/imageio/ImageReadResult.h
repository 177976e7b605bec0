#pragma once

// What ReadBmpFile, ReadJpegFile and ReadPngFile return.
// Failed: nothing to show; the reason is the last error (see CodecFailure.h).
constexpr int kImageReadFailed = 0;
constexpr int kImageReadWhole = 1;
// The file ends before the picture does: the CDib holds the part that came before the
// end, the rest filled in plainly. Only the JPEG and PNG readers, whose formats can be
// decoded row by row, return it; the caller tells the user.
constexpr int kImageReadIncomplete = 2;
