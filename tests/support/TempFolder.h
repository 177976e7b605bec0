#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A fresh folder under the temporary folder for one test's files, removed with all it
// holds, folders too, when the object goes.
class CTempFolder {
public:
    CTempFolder();
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    // The Windows path of the folder, without a trailing backslash.
    const std::string& Path() const { return m_folder; }
    // The Windows path of a file in the folder.
    std::string PathOf(const std::string& name) const;
    // The names of the files in the folder, in the order the system lists them.
    std::vector<std::string> FileNames() const;

private:
    std::string m_folder;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
