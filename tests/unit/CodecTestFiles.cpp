#include "CodecTestFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "imageio/Dib.h"
#include "imageio/DibConversion.h"
#include "imageio/DibRowCursor.h"
#include "util/ModulePath.h"

CodecTempFolder::CodecTempFolder()
{
    char temp[MAX_PATH];
    char name[MAX_PATH];
    EXPECT_NE(0u, GetTempPathA(MAX_PATH, temp));
    EXPECT_NE(0u, GetTempFileNameA(temp, "cdc", 0, name));
    DeleteFileA(name);
    EXPECT_TRUE(CreateDirectoryA(name, nullptr));
    m_folder = name;
}

CodecTempFolder::~CodecTempFolder()
{
    for (const std::string& name : FileNames())
        DeleteFileA(PathOf(name.c_str()).c_str());
    RemoveDirectoryA(m_folder.c_str());
}

std::vector<std::string> CodecTempFolder::FileNames() const
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA((m_folder + "\\*").c_str(), &found);
    if (hFind != INVALID_HANDLE_VALUE) {
        do
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        while (FindNextFileA(hFind, &found));
        FindClose(hFind);
    }
    return names;
}

std::string CodecTempFolder::PathOf(const char* name) const
{
    return m_folder + "\\" + name;
}

std::string FixturePath(const char* name)
{
    char path[MAX_PATH];
    const std::string relative = std::string("codec-fixtures\\") + name;
    EXPECT_TRUE(MakeModuleFilePath(relative.c_str(), path));
    return path;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void FillTestPattern(CDib& dib, unsigned seed)
{
    const int nColors = dib.GetColorCount();
    for (int i = 0; i < nColors; ++i)
        dib.GetColorTable()[i] = RGBQUAD{BYTE(i * 37 + seed), BYTE(i * 11), BYTE(255 - i * 5), 0};
    unsigned state = seed * 2654435761u + 1;
    for (CDibRowCursor row(dib); row.GetRow(); row.Advance()) {
        for (int i = 0; i < dib.GetStride(); ++i) {
            state = state * 1103515245u + 12345u;
            row.GetRow()[i] = static_cast<BYTE>(state >> 16);
        }
    }
}

std::vector<BYTE> PictureRgb(const CDib& dib)
{
    CDib converted;
    EXPECT_TRUE(converted.Create(dib.GetWidth(), dib.GetRowCount(), 24));
    ConvertTo24Bit(dib, converted);
    std::vector<BYTE> rgb;
    rgb.reserve(3 * static_cast<size_t>(dib.GetWidth()) * dib.GetRowCount());
    for (CDibRowCursor row(converted); row.GetRow(); row.Advance()) {
        for (int x = 0; x < dib.GetWidth(); ++x) {
            const BYTE* pPixel = row.GetRow() + 3 * x;
            rgb.insert(rgb.end(), {pPixel[2], pPixel[1], pPixel[0]});
        }
    }
    return rgb;
}

std::string Le(DWORD value, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i));
    return out;
}

std::string BmpBytes(const BmpLayout& layout)
{
    std::string header = Le(layout.headerSize, 4);
    if (layout.headerSize == 12) {
        header += Le(layout.width, 2) + Le(layout.height, 2) + Le(1, 2) + Le(layout.bits, 2);
    } else {
        header += Le(layout.width, 4) + Le(layout.height, 4) + Le(1, 2) + Le(layout.bits, 2) + Le(layout.compression, 4);
        header.resize(layout.headerSize, '\0');
    }
    const DWORD offBits = layout.offBits ? layout.offBits : DWORD(14 + header.size() + layout.table.size());
    std::string file = "BM" + Le(DWORD(14 + header.size() + layout.table.size() + layout.pixels.size()), 4) + Le(0, 4) +
                       Le(offBits, 4) + header + layout.table;
    file.resize(offBits, '\0');
    return file + layout.pixels;
}
