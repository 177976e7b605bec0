#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "document/ImageClipboard.h"
#include "scoped/ScopedHandles.h"
#include "unit/ImportSlot.h"

extern decltype(&GlobalAlloc) g_globalAllocSlot asm(IMPORT_SLOT_NAME(GlobalAlloc, 8));
extern decltype(&GlobalLock) g_globalLockSlot asm(IMPORT_SLOT_NAME(GlobalLock, 4));

namespace {
HGLOBAL WINAPI AllocFails(UINT, SIZE_T)
{
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

LPVOID WINAPI LockFails(HGLOBAL)
{
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

void PutText(HWND owner, const std::string& text)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

std::string ClipboardText()
{
    if (!OpenClipboard(nullptr))
        return "(clipboard busy)";
    HGLOBAL block = GetClipboardData(CF_TEXT);
    const std::string text = block ? static_cast<const char*>(GlobalLock(block)) : "(no text)";
    if (block)
        GlobalUnlock(block);
    CloseClipboard();
    return text;
}
}

// A copy that finds no memory for the pixels says so and leaves the clipboard as it was.
TEST(ImageClipboard, WithoutMemoryTheClipboardKeepsWhatItHeld)
{
    HWND owner = CreateWindowExA(0, "Static", nullptr, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const CBitmapOwner bitmap(CreateCompatibleBitmap(CScreenDC(), 5, 3));
    PutText(owner, "held before");
    ClipboardCopy allocFailed, lockFailed;
    {
        const CImportSlot<decltype(&GlobalAlloc)> noMemory(g_globalAllocSlot, &AllocFails);
        allocFailed = CopyImageToClipboard(bitmap.get(), owner);
    }
    {
        const CImportSlot<decltype(&GlobalLock)> noMemory(g_globalLockSlot, &LockFails);
        lockFailed = CopyImageToClipboard(bitmap.get(), owner);
    }
    EXPECT_EQ(ClipboardCopy::kNoMemory, allocFailed);
    EXPECT_EQ(ClipboardCopy::kNoMemory, lockFailed);
    EXPECT_EQ("held before", ClipboardText());

    EXPECT_EQ(ClipboardCopy::kCopied, CopyImageToClipboard(bitmap.get(), owner));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
    EXPECT_EQ("(no text)", ClipboardText()) << "the image replaces the text";
    DestroyWindow(owner);
}
