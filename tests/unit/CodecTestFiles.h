#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "scoped/ScopedHandles.h"

class CDib;

// The name the codec tests knew the temporary folder by.
using CodecTempFolder = CTempFolder;

// A reference file made by tools/make_codec_fixtures.sh next to the test program.
std::string FixturePath(const char* name);

// A CDib of the given depth whose pixels are a fixed function of position and seed,
// with its colour table (for palette depths) filled too.
void FillTestPattern(CDib& dib, unsigned seed);

// Red, green, blue of every pixel, top row first, of a CDib at any depth it can hold
// (palette indices through the table, 16 bits scaled as on saving): the layout of a PPM.
std::vector<BYTE> PictureRgb(const CDib& dib);

// True when a reader's CDib has the form every opened picture takes: 32 bits a pixel,
// top row first.
bool IsTopDown32(const CDib& dib);

// A 32-bit top-down DIB section, the form the program keeps pictures in, with the test
// pattern of the seed.
CBitmapOwner PatternBitmap(int width, int height, unsigned seed);
// PictureRgb of a bitmap's pixels; empty when they cannot be read.
std::vector<BYTE> BitmapRgb(HBITMAP bitmap);

// Little-endian bytes of value.
std::string Le(DWORD value, int bytes);

// A BMP file put together field by field, for headers and layouts that the program
// itself does not write.
struct BmpLayout {
    DWORD headerSize = 40;
    int width = 2;
    int height = 2;
    WORD bits = 24;
    DWORD compression = BI_RGB;
    std::string table;   // colour table (or masks) right after the header
    std::string pixels;
    DWORD offBits = 0;   // 0: directly after the table
};

std::string BmpBytes(const BmpLayout& layout);
