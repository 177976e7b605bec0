// The look of the annotation tools kept in lumigrab.ini: what is written comes back,
// and a damaged or missing file gives the defaults.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "TempFolder.h"
#include "annotate/AnnotationTools.h"

namespace {

void ExpectDefaultLook(const CAnnotationTools& tools)
{
    const AnnotationStyle defaults;
    const AnnotationStyle& style = tools.Style();
    EXPECT_EQ(defaults.colour, style.colour);
    EXPECT_EQ(defaults.width, style.width);
    EXPECT_EQ(defaults.fill, style.fill);
    EXPECT_EQ(defaults.fontFace, style.fontFace);
    EXPECT_EQ(defaults.fontSize, style.fontSize);
    EXPECT_EQ(defaults.mosaicBlock, style.mosaicBlock);
    EXPECT_EQ(RGB(0, 0, 0), tools.StyleFor(AnnotationKind::kRedact).colour);
}

// Tools with nothing left at its default, 遮盖's colour set while it was the tool.
CAnnotationTools ChangedTools()
{
    CAnnotationTools tools;
    tools.SetColour(RGB(0x12, 0x34, 0x56));
    tools.SetTool(AnnotationTool::kRedact);
    tools.SetColour(RGB(0xAB, 0xCD, 0xEF));
    tools.SetTool(AnnotationTool::kArrow);
    tools.SetWidth(7);
    tools.SetFill(AnnotationFill::kHalf);
    tools.SetFont(L"\x5B8B\x4F53", 24);  // 宋体
    tools.SetMosaicBlock(20);
    return tools;
}

TEST(AnnotationToolsFile, WhatIsSavedLoadsBackWithTheRedactColourApart)
{
    CTempFolder folder;
    const std::string path = folder.PathOf("lumigrab.ini");
    ASSERT_TRUE(ChangedTools().Save(path.c_str()));

    CAnnotationTools loaded;
    loaded.Load(path.c_str());
    const AnnotationStyle& style = loaded.Style();
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), style.colour);
    EXPECT_EQ(7, style.width);
    EXPECT_EQ(AnnotationFill::kHalf, style.fill);
    EXPECT_EQ(L"\x5B8B\x4F53", style.fontFace);
    EXPECT_EQ(24, style.fontSize);
    EXPECT_EQ(20, style.mosaicBlock);
    EXPECT_EQ(RGB(0xAB, 0xCD, 0xEF), loaded.StyleFor(AnnotationKind::kRedact).colour);
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), loaded.StyleFor(AnnotationKind::kRectangle).colour);
    // Every run starts with the hand; the colour button shows 遮盖's colour only while it is the tool.
    EXPECT_EQ(AnnotationTool::kHand, loaded.Tool());
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), loaded.Colour());
    loaded.SetTool(AnnotationTool::kRedact);
    EXPECT_EQ(RGB(0xAB, 0xCD, 0xEF), loaded.Colour());
}

TEST(AnnotationToolsFile, DamagedOrMissingValuesGiveTheDefaults)
{
    CTempFolder folder;
    const std::string path = folder.PathOf("lumigrab.ini");
    const char* damaged[] = {
        // letters, numbers with more after them, values out of range
        "[Annotate]\r\nColour=red\r\nRedactColour=1000000\r\nWidth=abc\r\nFill=3\r\nFontSize=16px\r\n"
        "MosaicBlock=33\r\n",
        "[Annotate]\r\nColour=-1\r\nRedactColour=12 34\r\nWidth=21\r\nFill=-1\r\nFontSize=5\r\nMosaicBlock=3\r\n",
        "[Annotate]\r\nColour=\r\nWidth=0\r\nFontSize=201\r\n",
    };
    for (const char* text : damaged) {
        WriteFileBytes(path, text);
        CAnnotationTools tools = ChangedTools();
        tools.Load(path.c_str());
        SCOPED_TRACE(text);
        ExpectDefaultLook(tools);
    }

    CAnnotationTools tools = ChangedTools();
    tools.Load(folder.PathOf("missing.ini").c_str());
    ExpectDefaultLook(tools);
}

TEST(AnnotationToolsFile, ValuesAtTheEdgesOfTheirRangesAreKept)
{
    CTempFolder folder;
    const std::string path = folder.PathOf("lumigrab.ini");
    WriteFileBytes(path, "[Annotate]\r\nColour=FFFFFF\r\nRedactColour=000001\r\nWidth=20\r\nFill=2\r\n"
                         "FontSize=6\r\nMosaicBlock=32\r\n");
    CAnnotationTools tools;
    tools.Load(path.c_str());
    EXPECT_EQ(RGB(255, 255, 255), tools.Style().colour);
    EXPECT_EQ(RGB(0, 0, 1), tools.StyleFor(AnnotationKind::kRedact).colour);
    EXPECT_EQ(20, tools.Style().width);
    EXPECT_EQ(AnnotationFill::kHalf, tools.Style().fill);
    EXPECT_EQ(6, tools.Style().fontSize);
    EXPECT_EQ(32, tools.Style().mosaicBlock);
}

// A value too long for its buffer would come back cut, as another value: it is damage.
// A face from outside code page 936 comes back whole, and the values beside it too.
TEST(AnnotationToolsFile, ALongValueIsDamageAndAFaceOfAnyScriptIsKept)
{
    CTempFolder folder;
    const std::string path = folder.PathOf("lumigrab.ini");
    WriteFileBytes(path, "[Annotate]\r\nFontSize=" + std::string(29, '0') + "240\r\nFontFace=" +
                             std::string(40, 'A') + "\r\n");
    CAnnotationTools tools = ChangedTools();
    tools.Load(path.c_str());
    EXPECT_EQ(AnnotationStyle().fontSize, tools.Style().fontSize);
    EXPECT_EQ(AnnotationStyle().fontFace, tools.Style().fontFace);

    // Read back from the file's bytes: the profile functions answer from a cache.
    WriteFileBytes(path, "[Options]\r\nSaveFolder=D:\\\xBD\xD8\xCD\xBC\r\n");  // D:\截图
    tools.SetFont(L"\x0E20\x0E32\x0E29\x0E32", 20);
    ASSERT_TRUE(tools.Save(path.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Options", "Countdown", "5", path.c_str()));
    const std::string bytes = ReadFileBytes(path);
    const auto holds = [&bytes](const std::wstring& text) {
        return bytes.find(std::string(reinterpret_cast<const char*>(text.data()), 2 * text.size())) != std::string::npos;
    };
    EXPECT_EQ(0u, bytes.find("\xFF\xFE")) << "UTF-16 with its mark";
    EXPECT_TRUE(holds(L"FontFace=\x0E20\x0E32\x0E29\x0E32"));
    EXPECT_TRUE(holds(L"SaveFolder=D:\\\x622A\x56FE")) << "the ANSI file's values converted";
    EXPECT_TRUE(holds(L"Countdown=5")) << "written by the A functions in UTF-16 too";
}

}  // namespace
