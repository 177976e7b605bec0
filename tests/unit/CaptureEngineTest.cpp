#include <gtest/gtest.h>

#include "capture/CaptureEngine.h"

// The build puts snapcore.dll next to the test program, as it is next to lumigrab.exe.
TEST(CaptureEngine, LoadsTheEngineNextToTheExecutableAndFreesItAgain)
{
    CCaptureEngine engine;
    ASSERT_TRUE(engine.Load());
    EXPECT_TRUE(engine.IsLoaded());
    EXPECT_NE(GetModuleHandleA("snapcore.dll"), nullptr);

    ASSERT_TRUE(engine.Load()) << "loading twice keeps one reference";
    engine.Unload();
    EXPECT_FALSE(engine.IsLoaded());
    EXPECT_EQ(GetModuleHandleA("snapcore.dll"), nullptr) << "the library is still mapped";

    engine.Unload();  // a second unload does nothing
    EXPECT_FALSE(engine.IsLoaded());
}
