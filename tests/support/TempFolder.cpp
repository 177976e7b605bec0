#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {
void DeleteFolder(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteFolder(folder + "\\" + name);
            else
                DeleteFileA((folder + "\\" + name).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}
}  // namespace

CTempFolder::CTempFolder()
{
    char temp[MAX_PATH];
    char name[MAX_PATH];
    EXPECT_NE(0u, GetTempPathA(MAX_PATH, temp));
    EXPECT_NE(0u, GetTempFileNameA(temp, "lgt", 0, name));
    DeleteFileA(name);
    EXPECT_TRUE(CreateDirectoryA(name, nullptr));
    m_folder = name;
}

CTempFolder::~CTempFolder()
{
    DeleteFolder(m_folder);
}

std::string CTempFolder::PathOf(const std::string& name) const
{
    return m_folder + "\\" + name;
}

std::vector<std::string> CTempFolder::FileNames() const
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(PathOf("*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return names;
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
