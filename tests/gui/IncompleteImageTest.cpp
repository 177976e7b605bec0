#include <windows.h>

#include <string>

#include "Gbk.h"
#include "PixelReader.h"
#include "document/ImageFileDialogs.h"
#include "DialogAnswerer.h"
#include "gui/FrameFixture.h"
#include "TempFolder.h"

// A JPEG or PNG file that ends early opens with the part it holds, and the user is
// told once, by the file's name, that the rest is missing.

namespace {

using IncompleteImageTest = FrameFixture;

}  // namespace

TEST_F(IncompleteImageTest, ACutOffFileOpensWithWhatItHoldsAndSaysSoOnce)
{
    CTempFolder folder;
    // Half of its PNG is 6 KB, less than the 8 KB libpng would read from the pixel data at once.
    const CBitmapOwner picture = MakePatternBitmap(1600, 1200);
    for (int format : {0, 2}) {
        const std::string path = folder.PathOf(format == 0 ? "cut.jpg" : "cut.png");
        ASSERT_TRUE(SaveImageFile(picture.get(), format, path.c_str()));
        const std::string bytes = ReadFileBytes(path);
        WriteFileBytes(path, bytes.substr(0, bytes.size() / 2));

        std::string text;
        HBITMAP opened = nullptr;
        {
            CDialogAnswerer answerer({CDialogAnswerer::Press(IDOK, &text), CDialogAnswerer::Press(IDOK)});
            opened = OpenImagePath(path.c_str());
            EXPECT_EQ(1u, answerer.StepsTaken()) << path;
        }
        EXPECT_EQ(ToGbk("文件“") + path + ToGbk("”不完整，只能显示其中已有的部分。"), text);
        ASSERT_NE(nullptr, opened) << path;
        BITMAP shape = {};
        GetObjectA(opened, sizeof shape, &shape);
        EXPECT_EQ(1600, shape.bmWidth);
        EXPECT_EQ(1200, shape.bmHeight);
        if (format == 2) {
            for (int x : {0, 799, 1599})
                EXPECT_EQ(PatternColor(x, 0), BitmapPixel(opened, x, 0)) << "the rows before the cut are the picture's";
        }
        DeleteObject(opened);
    }
}
