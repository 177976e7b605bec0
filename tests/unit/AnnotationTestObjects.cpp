#include "AnnotationTestObjects.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

Annotation Object(AnnotationKind kind, std::vector<ImagePoint> points)
{
    Annotation object;
    object.kind = kind;
    object.points = std::move(points);
    return object;
}

bool SameBits(float a, float b)
{
    return memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

std::vector<Annotation> AnnotationsOfEveryKind()
{
    std::vector<Annotation> objects;
    objects.push_back(Object(AnnotationKind::kArrow, {{0.25f, -3.5f}, {1e6f, -1e6f}}));
    objects.back().style.width = 1;
    objects.back().style.colour = RGB(1, 2, 3);
    objects.push_back(Object(AnnotationKind::kLine, {{10.125f, 20.875f}, {10.125f, 20.875f}}));
    objects.back().style.width = 20;
    objects.push_back(Object(AnnotationKind::kRectangle, {{-0.5f, 7}, {300.75f, 0.0001f}}));
    objects.back().style.fill = AnnotationFill::kSolid;
    objects.push_back(Object(AnnotationKind::kEllipse, {{5, 5}, {-5, -5}}));
    objects.back().style.fill = AnnotationFill::kHalf;
    objects.back().style.colour = RGB(255, 255, 255);
    Annotation pen = Object(AnnotationKind::kPen, {});
    for (int i = 0; i < 1500; ++i)
        pen.points.push_back({i / 3.0f, static_cast<float>(i % 17) - 8.5f});
    objects.push_back(pen);
    objects.push_back(Object(AnnotationKind::kHighlighter, {{42.5f, 43.5f}}));
    objects.back().style.width = 17.5f;
    objects.push_back(Object(AnnotationKind::kText, {{1.5f, 2.5f}, {200.25f, 60.75f}}));
    objects.back().text = L"截图说明：第一行\r\n第二行 ✓ \U0001F600";
    objects.back().style.fontFace = L"微软雅黑";
    objects.back().style.fontSize = 200;
    objects.push_back(Object(AnnotationKind::kStep, {{99.9f, 0.1f}}));
    objects.back().number = 1;
    objects.back().style.fontSize = 6;
    objects.push_back(Object(AnnotationKind::kStep, {{3, 4}}));
    objects.back().number = kMaxStepNumber;
    objects.push_back(Object(AnnotationKind::kRedact, {{0, 0}, {64, 32}}));
    objects.back().style.colour = RGB(0, 0, 0);
    objects.push_back(Object(AnnotationKind::kMosaic, {{8, 8}, {0.5f, 0.5f}}));
    objects.back().style.mosaicBlock = 4;
    objects.push_back(Object(AnnotationKind::kMosaic, {{100, 8}, {20, 90}}));
    objects.back().style.mosaicBlock = 32;
    objects.back().style.fontFace = std::wstring(31, L'宋');
    objects.back().text = std::wstring(32768, L'字');
    return objects;
}

void ExpectSameAnnotations(const std::vector<Annotation>& expected, const std::vector<Annotation>& actual)
{
    ASSERT_EQ(expected.size(), actual.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const Annotation& e = expected[i];
        const Annotation& a = actual[i];
        EXPECT_EQ(e.kind, a.kind) << i;
        EXPECT_EQ(e.style.colour, a.style.colour) << i;
        EXPECT_TRUE(SameBits(e.style.width, a.style.width)) << i;
        EXPECT_EQ(e.style.fill, a.style.fill) << i;
        EXPECT_TRUE(e.style.fontFace == a.style.fontFace) << i;
        EXPECT_TRUE(SameBits(e.style.fontSize, a.style.fontSize)) << i;
        EXPECT_EQ(e.style.mosaicBlock, a.style.mosaicBlock) << i;
        EXPECT_TRUE(e.text == a.text) << i;
        EXPECT_EQ(e.number, a.number) << i;
        ASSERT_EQ(e.points.size(), a.points.size()) << i;
        for (size_t p = 0; p < e.points.size(); ++p)
            EXPECT_TRUE(SameBits(e.points[p].x, a.points[p].x) && SameBits(e.points[p].y, a.points[p].y))
                << i << " point " << p;
    }
}
