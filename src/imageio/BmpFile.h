#pragma once

#include "util/FileReplacement.h"

class CDib;

// Reads a BMP file with a 12-, 40-, 52-, 56-, 108- or 124-byte header at 1, 2, 4, 8, 16,
// 24 or 32 bits per pixel, uncompressed, into an empty CDib as a 32-bit top-down DIB
// section (see CDib::CreateSection), whichever way the file stores its rows: palette
// indices through the colour table, 16-bit 5-5-5 words scaled to 8 bits a channel, and
// 16- and 32-bit files with bit-field masks (BI_BITFIELDS) by their masked channels. A
// palette shorter than the depth allows (its length in the header's colours-used count)
// fills the start of the full table and leaves the rest black. 1 on success, 0 on any
// failure with the reason as the last error (see CodecFailure.h); on failure the CDib
// may hold an unfilled section, which the caller releases.
int ReadBmpFile(const char* path, CDib& dib);

// Writes the CDib as it is held: file header, info header, colour table, pixels; but
// 32-bit pixels go bottom-up, with 255 in their unused fourth byte, which readers may
// take as alpha. Through a CFileReplacement in the given mode, so a failed write leaves
// an existing file as it was. 1, or 0 with the reason as the last error.
int WriteBmpFile(CDib& dib, const char* path, CFileReplacement::Mode mode = CFileReplacement::kReplaceExisting);
