#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <utility>

// The raw bytes of a resource; null when it does not exist.
inline std::pair<const BYTE*, DWORD> ResourceBytes(LPCSTR name, LPCSTR type)
{
    HRSRC found = FindResourceA(nullptr, name, type);
    if (!found)
        return {nullptr, 0};
    return {static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found))),
            SizeofResource(nullptr, found)};
}

template <typename T>
T Read(const BYTE* bytes, size_t offset)
{
    T value;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

// The resources linked into this test program, as into the program itself.
class ResourceTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(936u, GetACP()) << "run the tests with LC_ALL=zh_CN.UTF-8";
    }
};
