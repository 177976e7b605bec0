#pragma once
#include <gtest/gtest.h>

#include "ocr/OcrEngine.h"

// The engine and its data loaded once for all the tests of a suite, as the program loads
// them once for its run.
class OcrEngineSuite : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_engine = new COcrEngine();
        ASSERT_EQ(EOcrLoad::Ready, s_engine->Load().state) << s_engine->Load().file;
    }
    static void TearDownTestSuite()
    {
        delete s_engine;
        s_engine = nullptr;
    }
    static inline COcrEngine* s_engine = nullptr;
};
