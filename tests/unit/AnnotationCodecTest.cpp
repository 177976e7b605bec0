#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "AnnotationTestObjects.h"
#include "annotate/AnnotationCodec.h"

namespace {

Annotation Step(float x, float y)
{
    Annotation step;
    step.kind = AnnotationKind::kStep;
    step.points = {{x, y}};
    step.number = 1;
    return step;
}

// Little-endian u32 written over four bytes of an encoded list.
void PutU32(std::string& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}

}  // namespace

TEST(AnnotationCodec, EveryKindComesBackWithEveryValue)
{
    const std::vector<Annotation> objects = AnnotationsOfEveryKind();
    ASSERT_TRUE(AreStorableAnnotations(objects));
    std::vector<Annotation> decoded = {Step(1, 1)};
    ASSERT_TRUE(DecodeAnnotations(EncodeAnnotations(objects), decoded));
    ExpectSameAnnotations(objects, decoded);

    std::vector<Annotation> none = {Step(1, 1)};
    ASSERT_TRUE(DecodeAnnotations(EncodeAnnotations({}), none));
    EXPECT_TRUE(none.empty());
}

// Each object outside what a list may hold is refused by the check the saving runs
// first, and by the reader when it is written anyway.
TEST(AnnotationCodec, ValuesOutsideTheirRangesAreRefused)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const std::vector<std::pair<const char*, std::function<void(Annotation&)>>> damages = {
        {"kind 10", [](Annotation& a) { a.kind = static_cast<AnnotationKind>(10); }},
        {"fill 3", [](Annotation& a) { a.style.fill = static_cast<AnnotationFill>(3); }},
        {"colour with a high byte", [](Annotation& a) { a.style.colour = 0x01000000; }},
        {"width 0.5", [](Annotation& a) { a.style.width = 0.5f; }},
        {"width 20.5", [](Annotation& a) { a.style.width = 20.5f; }},
        {"width NaN", [nan](Annotation& a) { a.style.width = nan; }},
        {"font size 5.9", [](Annotation& a) { a.style.fontSize = 5.9f; }},
        {"font size 201", [](Annotation& a) { a.style.fontSize = 201; }},
        {"block 3", [](Annotation& a) { a.style.mosaicBlock = 3; }},
        {"block 33", [](Annotation& a) { a.style.mosaicBlock = 33; }},
        {"x beyond a million", [](Annotation& a) { a.points[0].x = 1.0001e6f; }},
        {"y below minus a million", [](Annotation& a) { a.points[0].y = -1.0001e6f; }},
        {"infinite x", [infinity](Annotation& a) { a.points[0].x = infinity; }},
        {"NaN y", [nan](Annotation& a) { a.points[0].y = nan; }},
        {"text of 32769 units", [](Annotation& a) { a.text.assign(32769, L'字'); }},
        {"font name of 32 units", [](Annotation& a) { a.style.fontFace.assign(32, L'宋'); }},
        {"step number 0", [](Annotation& a) { a.number = 0; }},
        {"step number beyond the largest", [](Annotation& a) { a.number = kMaxStepNumber + 1; }},
        {"step with two points", [](Annotation& a) { a.points.push_back({1, 1}); }},
        {"step without a point", [](Annotation& a) { a.points.clear(); }},
        {"arrow with one point", [](Annotation& a) { a.kind = AnnotationKind::kArrow; }},
        {"text with three points", [](Annotation& a) {
             a.kind = AnnotationKind::kText;
             a.points.assign(3, {});
         }},
        {"pen without a point", [](Annotation& a) {
             a.kind = AnnotationKind::kPen;
             a.points.clear();
         }},
    };
    for (const auto& [name, damage] : damages) {
        std::vector<Annotation> objects = {Step(10, 20), Step(30, 40)};
        damage(objects[1]);
        EXPECT_FALSE(AreStorableAnnotations(objects)) << name;
        std::vector<Annotation> decoded = {Step(5, 5)};
        EXPECT_FALSE(DecodeAnnotations(EncodeAnnotations(objects), decoded)) << name;
        ASSERT_EQ(1u, decoded.size()) << name << ": a refused list leaves the objects as they were";
        EXPECT_EQ(5.0f, decoded[0].points[0].x) << name;
    }
}

TEST(AnnotationCodec, ListsThatAreCutLongOrOfAnotherVersionAreRefused)
{
    const std::string bytes = EncodeAnnotations(AnnotationsOfEveryKind());
    std::vector<Annotation> decoded;
    for (size_t length = 0; length < bytes.size(); length += length < 200 ? 1 : 997)
        EXPECT_FALSE(DecodeAnnotations(bytes.substr(0, length), decoded)) << "cut at " << length;
    EXPECT_FALSE(DecodeAnnotations(bytes + '\0', decoded)) << "a byte after the list";
    std::string otherVersion = bytes;
    otherVersion[4] = 2;
    EXPECT_FALSE(DecodeAnnotations(otherVersion, decoded));
    std::string otherMagic = bytes;
    otherMagic[0] = 'X';
    EXPECT_FALSE(DecodeAnnotations(otherMagic, decoded));
    EXPECT_TRUE(decoded.empty());
}

TEST(AnnotationCodec, CountsBeyondTheLimitsAreRefused)
{
    // 100001 steps in bytes that hold them all: only the count can be the reason.
    const std::vector<Annotation> steps(kMaxStoredAnnotations + 1, Step(1, 2));
    EXPECT_FALSE(AreStorableAnnotations(steps));
    std::vector<Annotation> decoded;
    EXPECT_FALSE(DecodeAnnotations(EncodeAnnotations(steps), decoded));
    const std::vector<Annotation> mostSteps(steps.begin() + 1, steps.end());
    EXPECT_TRUE(DecodeAnnotations(EncodeAnnotations(mostSteps), decoded));
    EXPECT_EQ(kMaxStoredAnnotations, decoded.size());

    // Two strokes of 500000 points and one more.
    Annotation stroke;
    stroke.kind = AnnotationKind::kPen;
    stroke.points.assign(kMaxStoredPoints / 2, {0.5f, 0.5f});
    std::vector<Annotation> strokes = {stroke, stroke};
    EXPECT_TRUE(AreStorableAnnotations(strokes));
    strokes[1].points.push_back({1, 1});
    EXPECT_FALSE(AreStorableAnnotations(strokes));
    EXPECT_FALSE(DecodeAnnotations(EncodeAnnotations(strokes), decoded));

    // A count that claims more objects than the bytes could hold.
    std::string claimed = EncodeAnnotations({Step(1, 2)});
    PutU32(claimed, 6, 50000);
    EXPECT_FALSE(DecodeAnnotations(claimed, decoded));
    EXPECT_EQ(kMaxStoredAnnotations, decoded.size()) << "unchanged";
}
