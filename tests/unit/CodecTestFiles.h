#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CDib;

// A fresh folder under the temp folder for one test's files, removed with its files
// at the end of the test.
class CodecTempFolder {
public:
    CodecTempFolder();
    ~CodecTempFolder();
    CodecTempFolder(const CodecTempFolder&) = delete;
    CodecTempFolder& operator=(const CodecTempFolder&) = delete;

    // The Windows path of a file in the folder.
    std::string PathOf(const char* name) const;
    // The names of the files in the folder, in the order the system lists them.
    std::vector<std::string> FileNames() const;

private:
    std::string m_folder;
};

// A reference file made by tools/make_codec_fixtures.sh next to the test program.
std::string FixturePath(const char* name);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// A CDib of the given depth whose pixels are a fixed function of position and seed,
// with its colour table (for palette depths) filled too.
void FillTestPattern(CDib& dib, unsigned seed);

// Red, green, blue of every pixel, top row first, of a CDib at any depth it can hold
// (palette indices through the table, 16 bits scaled as on saving): the layout of a PPM.
std::vector<BYTE> PictureRgb(const CDib& dib);

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
