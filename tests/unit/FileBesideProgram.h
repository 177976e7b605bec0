#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "TempFolder.h"
#include "util/ModulePath.h"

// A fixture for one of the program's files beside the test program (lumigrab.cfg,
// oteditor.cfg): removed before and after every test.
class FileBesideProgram : public testing::Test {
protected:
    explicit FileBesideProgram(const char* fileName) : m_fileName(fileName) {}

    void SetUp() override
    {
        ASSERT_EQ(936u, GetACP()) << "tests must run with LC_ALL=zh_CN.UTF-8";
        ASSERT_TRUE(MakeModuleFilePath(m_fileName, m_szPath));
        DeleteFileA(m_szPath);
    }
    void TearDown() override { DeleteFileA(m_szPath); }

    bool Exists() const { return GetFileAttributesA(m_szPath) != INVALID_FILE_ATTRIBUTES; }

    std::string Contents() const { return ReadFileBytes(m_szPath); }
    void SetContents(const std::string& bytes) const { WriteFileBytes(m_szPath, bytes); }

    const char* m_fileName;
    char m_szPath[MAX_PATH] = {};
};
