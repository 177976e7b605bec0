// The frame's answer to a later start's block: taken only when its files are.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "FrameFixture.h"
#include "app/HandedFiles.h"

namespace {
class HandedFilesReceiver : public FrameFixture {};
}  // namespace

TEST_F(HandedFilesReceiver, ANullOrDamagedBlockIsNotTaken)
{
    HWND frame = m_frame->Handle();
    EXPECT_EQ(0, SendMessageA(frame, WM_COPYDATA, 0, 0));

    std::vector<char> block = PackHandedFiles({"C:\\a.png"});
    block.pop_back();  // the path loses its end
    COPYDATASTRUCT data{kHandedFilesTag, static_cast<DWORD>(block.size()), block.data()};
    EXPECT_EQ(0, SendMessageA(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)));
    Pump();
    EXPECT_EQ(0, TabCount());
}
