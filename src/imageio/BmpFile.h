#pragma once

class CDib;

// Reads a BMP file with a 12-, 40-, 52- or 56-byte header at 1, 2, 4, 8, 16, 24 or 32
// bits per pixel (palette images uncompressed) into an empty CDib. 1 on success, 0 on
// any failure; on failure the CDib may hold an unfilled block, which the caller releases.
int ReadBmpFile(const char* path, CDib& dib);

// Writes the CDib as it is held: file header, info header, colour table, pixels.
// An existing file is overwritten and ends where the new content ends. 1 or 0.
int WriteBmpFile(CDib& dib, const char* path);
