#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AnnotationTestObjects.h"
#include "CodecTestFiles.h"
#include "TestRandom.h"
#include "annotate/AnnotatedPng.h"
#include "annotate/AnnotationCodec.h"
#include "imageio/Dib.h"
#include "imageio/ImageFormats.h"
#include "scoped/ScopedHandles.h"

// Damaged object lists and chunks are refused or read as something the editor can hold:
// every decode either fails or gives storable objects (and the clean picture it was
// written with), and none crashes.

namespace {

constexpr int kDamagedCopies = 2500;
constexpr size_t kPayloadHeaderBytes = 4 + 2 + 4 + 4 + 8;  // up to the PNG stream's length

// The objects of every kind, short enough that most damage lands in their fields.
std::vector<Annotation> SmallObjects()
{
    std::vector<Annotation> objects = AnnotationsOfEveryKind();
    for (Annotation& object : objects) {
        if (object.points.size() > 5)
            object.points.resize(5);
        if (object.text.size() > 8)
            object.text.resize(8);
        if (object.style.fontFace.size() > 4)
            object.style.fontFace.resize(4);
    }
    return objects;
}

uint32_t ReadU32(const std::string& bytes, size_t at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<BYTE>(bytes[at + i]);
    return value;
}

// Where the counts and lengths of an encoded list lie (4 bytes each; a font name's 2),
// walked by the layout in the help, each at offset from the start of the list.
std::vector<std::pair<size_t, int>> ListLengthFields(const std::string& list, size_t offset)
{
    std::vector<std::pair<size_t, int>> fields = {{offset + 6, 4}};
    size_t at = 10;
    for (uint32_t n = ReadU32(list, 6); n > 0; --n) {
        at += 1 + 4 + 4 + 1 + 4 + 1 + 4;
        fields.push_back({offset + at, 2});
        at += 2 + 2 * (static_cast<BYTE>(list[at]) | static_cast<BYTE>(list[at + 1]) << 8);
        fields.push_back({offset + at, 4});
        at += 4 + 2 * ReadU32(list, at);
        fields.push_back({offset + at, 4});
        at += 4 + 8 * ReadU32(list, at);
    }
    EXPECT_EQ(list.size(), at) << "the walk follows the layout";
    return fields;
}

std::string RandomBytes(CTestRandom& random, uint32_t count)
{
    std::string bytes;
    while (bytes.size() < count)
        bytes += static_cast<char>(random.Next(256));
    return bytes;
}

// One damage: bits flipped, bytes changed, the bytes cut, bytes put in or taken out, or
// a count or length made a little or a lot different.
std::string Damaged(const std::string& original, CTestRandom& random, const std::vector<std::pair<size_t, int>>& lengths)
{
    std::string bytes = original;
    const auto anywhere = [&] { return random.Next(static_cast<uint32_t>(bytes.size())); };
    switch (random.Next(6)) {
    case 0:
        for (uint32_t n = 1 + random.Next(3); n > 0; --n)
            bytes[anywhere()] ^= static_cast<char>(1 << random.Next(8));
        break;
    case 1:
        for (uint32_t n = 1 + random.Next(4); n > 0; --n)
            bytes[anywhere()] = static_cast<char>(random.Next(256));
        break;
    case 2:
        bytes.resize(anywhere());
        break;
    case 3:
        bytes.insert(anywhere(), RandomBytes(random, 1 + random.Next(8)));
        break;
    case 4:
        bytes.erase(anywhere(), 1 + random.Next(8));
        break;
    default: {
        static const uint32_t extremes[] = {0, 1, 0x7FFF, 0xFFFF, 100001, 1000001, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
        const auto [at, width] = lengths[random.Next(static_cast<uint32_t>(lengths.size()))];
        uint32_t value = width == 4 ? ReadU32(bytes, at) : ReadU32(bytes, at) & 0xFFFF;
        value = random.Next(2) ? value + random.Next(5) - 2 : extremes[random.Next(sizeof extremes / sizeof extremes[0])];
        for (int i = 0; i < width; ++i)
            bytes[at + i] = static_cast<char>(value >> (8 * i));
        break;
    }
    }
    return bytes;
}

struct Outcomes {
    int accepted = 0;
    int refused = 0;
};

}  // namespace

TEST(AnnotationDamage, DamagedListsAreRefusedOrStorable)
{
    const std::string list = EncodeAnnotations(SmallObjects());
    const std::vector<std::pair<size_t, int>> lengths = ListLengthFields(list, 0);
    CTestRandom random(20261208);
    Outcomes outcomes;
    for (int i = 0; i < kDamagedCopies; ++i) {
        std::vector<Annotation> objects;
        if (DecodeAnnotations(Damaged(list, random, lengths), objects)) {
            ++outcomes.accepted;
            EXPECT_TRUE(AreStorableAnnotations(objects)) << "copy " << i;
        } else {
            ++outcomes.refused;
            EXPECT_TRUE(objects.empty()) << "copy " << i;
        }
    }
    // Both outcomes occur, so the damage reaches past the first checks.
    EXPECT_GT(outcomes.accepted, 200);
    EXPECT_GT(outcomes.refused, 1000);
}

TEST(AnnotationDamage, DamagedChunksAreRefusedOrGiveTheCleanPictureBack)
{
    const CBitmapOwner clean = PatternBitmap(16, 12, 1);
    const CBitmapOwner shown = PatternBitmap(16, 12, 2);
    std::string chunk;
    ASSERT_TRUE(PackAnnotatedImage(clean.get(), shown.get(), SmallObjects(), chunk));
    const size_t pngBytes = ReadU32(chunk, kPayloadHeaderBytes);
    const size_t listAt = kPayloadHeaderBytes + 4 + pngBytes + 4;
    std::vector<std::pair<size_t, int>> lengths = ListLengthFields(chunk.substr(listAt), listAt);
    lengths.push_back({kPayloadHeaderBytes, 4});
    lengths.push_back({listAt - 4, 4});
    CBitmapOwner kept;
    std::vector<Annotation> keptObjects;
    ASSERT_EQ(MarksRestore::kRestored, UnpackAnnotatedImage(chunk, shown.get(), kept, keptObjects));
    const std::vector<BYTE> cleanPixels = BitmapRgb(kept.get());

    CTestRandom random(7);
    Outcomes outcomes;
    for (int i = 0; i < kDamagedCopies; ++i) {
        CBitmapOwner restored;
        std::vector<Annotation> objects;
        if (UnpackAnnotatedImage(Damaged(chunk, random, lengths), shown.get(), restored, objects) ==
            MarksRestore::kRestored) {
            ++outcomes.accepted;
            EXPECT_TRUE(AreStorableAnnotations(objects)) << "copy " << i;
            EXPECT_EQ(cleanPixels, BitmapRgb(restored.get())) << "copy " << i;
        } else {
            ++outcomes.refused;
            EXPECT_FALSE(restored) << "copy " << i;
        }
    }
    EXPECT_GT(outcomes.accepted, 100);
    EXPECT_GT(outcomes.refused, 1000);
}
