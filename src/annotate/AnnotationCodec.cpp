#include "annotate/AnnotationCodec.h"

#include <cmath>

#include "annotate/LittleEndianReader.h"
#include "annotate/LittleEndianWriter.h"

namespace {

const char kListMagic[4] = {'L', 'G', 'A', 'L'};
constexpr uint16_t kListVersion = 1;

// The smallest object: its fixed fields, empty texts and one point.
constexpr size_t kSmallestObjectBytes = 1 + 4 + 4 + 1 + 4 + 1 + 4 + 2 + 4 + 4 + 8;

bool IsCoordinate(float value)
{
    return std::isfinite(value) && std::fabs(value) <= kMaxStoredCoordinate;
}

bool HasPointCountOfKind(AnnotationKind kind, size_t count)
{
    switch (kind) {
    case AnnotationKind::kPen:
    case AnnotationKind::kHighlighter:
        return count >= 1;
    case AnnotationKind::kStep:
        return count == 1;
    default:
        return count == 2;
    }
}

}  // namespace

bool IsStorableAnnotation(const Annotation& object)
{
    const AnnotationStyle& style = object.style;
    if (static_cast<int>(object.kind) >= kAnnotationKindCount || style.fill > AnnotationFill::kHalf ||
        (style.colour & 0xFF000000) != 0)
        return false;
    // Written as ranges that NaN fails.
    if (!(style.width >= 1 && style.width <= 20) || !(style.fontSize >= 6 && style.fontSize <= 200) ||
        style.mosaicBlock < 4 || style.mosaicBlock > 32)
        return false;
    if (style.fontFace.size() > kMaxStoredFontFaceUnits || object.text.size() > kMaxStoredTextUnits)
        return false;
    if (!HasPointCountOfKind(object.kind, object.points.size()))
        return false;
    if (object.kind == AnnotationKind::kStep && (object.number < 1 || object.number > kMaxStepNumber))
        return false;
    for (const ImagePoint& point : object.points)
        if (!IsCoordinate(point.x) || !IsCoordinate(point.y))
            return false;
    return true;
}

bool AreStorableAnnotations(const std::vector<Annotation>& objects)
{
    if (objects.size() > kMaxStoredAnnotations)
        return false;
    size_t points = 0;
    for (const Annotation& object : objects) {
        if (!IsStorableAnnotation(object))
            return false;
        points += object.points.size();
    }
    return points <= kMaxStoredPoints;
}

std::string EncodeAnnotations(const std::vector<Annotation>& objects)
{
    std::string bytes(kListMagic, sizeof kListMagic);
    CLittleEndianWriter writer(bytes);
    writer.U16(kListVersion);
    writer.U32(static_cast<uint32_t>(objects.size()));
    for (const Annotation& object : objects) {
        const AnnotationStyle& style = object.style;
        writer.U8(static_cast<uint8_t>(object.kind));
        writer.U32(style.colour);
        writer.F32(style.width);
        writer.U8(static_cast<uint8_t>(style.fill));
        writer.F32(style.fontSize);
        writer.U8(static_cast<uint8_t>(style.mosaicBlock));
        writer.I32(object.number);
        writer.U16(static_cast<uint16_t>(style.fontFace.size()));
        writer.Utf16(style.fontFace);
        writer.U32(static_cast<uint32_t>(object.text.size()));
        writer.Utf16(object.text);
        writer.U32(static_cast<uint32_t>(object.points.size()));
        for (const ImagePoint& point : object.points) {
            writer.F32(point.x);
            writer.F32(point.y);
        }
    }
    return bytes;
}

// The object list, version 1. Little-endian throughout; floats are IEEE single
// precision; texts are UTF-16LE units without a terminator.
//
//   4 bytes  "LGAL"
//   u16      version: 1 (a reader refuses a version it does not know)
//   u32      N, the number of objects (at most 100000), then N objects, bottom one first:
//     u8     kind: 0 arrow, 1 line, 2 rectangle, 3 ellipse, 4 pen, 5 highlighter,
//            6 text, 7 step number, 8 redaction box, 9 mosaic
//     u32    colour, 0x00BBGGRR
//     f32    line width in image pixels, 1 to 20
//     u8     fill: 0 none, 1 solid, 2 half transparent
//     f32    font size (text height) in image pixels, 6 to 200
//     u8     mosaic block edge in image pixels, 4 to 32
//     i32    the step's number
//     u16    F, then F units: the font's name (at most 31; none for the default font)
//     u32    T, then T units: the text (at most 32768)
//     u32    P, then P points of f32 x, f32 y in image pixels (fractions allowed, finite,
//            at most 1000000 either way): 2 for arrows, lines, boxes and text (the ends,
//            or two opposite corners), 1 for a step (the centre), at least 1 for the pen
//            and the highlighter; at most 1000000 points in all objects together
//   nothing after the last object.
bool DecodeAnnotations(const std::string& bytes, std::vector<Annotation>& objects)
{
    CLittleEndianReader reader(bytes);
    if (reader.Bytes(sizeof kListMagic) != std::string(kListMagic, sizeof kListMagic) ||
        reader.U16() != kListVersion)
        return false;
    const uint32_t count = reader.U32();
    if (reader.Failed() || count > kMaxStoredAnnotations || count > reader.Remaining() / kSmallestObjectBytes)
        return false;

    std::vector<Annotation> decoded(count);
    size_t totalPoints = 0;
    for (Annotation& object : decoded) {
        AnnotationStyle& style = object.style;
        object.kind = static_cast<AnnotationKind>(reader.U8());
        style.colour = reader.U32();
        style.width = reader.F32();
        style.fill = static_cast<AnnotationFill>(reader.U8());
        style.fontSize = reader.F32();
        style.mosaicBlock = reader.U8();
        object.number = reader.I32();
        const uint16_t faceUnits = reader.U16();
        if (faceUnits > kMaxStoredFontFaceUnits)
            return false;
        style.fontFace = reader.Utf16(faceUnits);
        const uint32_t textUnits = reader.U32();
        if (textUnits > kMaxStoredTextUnits)
            return false;
        object.text = reader.Utf16(textUnits);
        const uint32_t points = reader.U32();
        if (reader.Failed() || points > kMaxStoredPoints - totalPoints || points > reader.Remaining() / 8)
            return false;
        totalPoints += points;
        object.points.resize(points);
        for (ImagePoint& point : object.points) {
            point.x = reader.F32();
            point.y = reader.F32();
        }
        if (reader.Failed() || !IsStorableAnnotation(object))
            return false;
    }
    if (!reader.AtEnd())
        return false;
    objects.swap(decoded);
    return true;
}
