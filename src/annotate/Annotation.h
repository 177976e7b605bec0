#pragma once
#include <windows.h>

#include <string>
#include <vector>

// One mark drawn over an image document: what kind it is, where it lies in image
// coordinates (image pixels, fractional values allowed, so it stays on the same pixels
// at every zoom) and how it looks. The list of a document runs from bottom to top.

enum class AnnotationKind : unsigned char {
    kArrow,        // a line with a filled arrowhead at its end
    kLine,
    kRectangle,
    kEllipse,      // the ellipse inside the box
    kPen,          // a freehand stroke
    kHighlighter,  // a wide translucent freehand stroke
    kText,
    kStep,         // a filled circle with a number
    kRedact,       // an opaque box that hides what is under it
    kMosaic,       // a box of blocks, each the mean colour of the pixels under it
};
constexpr int kAnnotationKindCount = 10;

enum class AnnotationFill : unsigned char {
    kNone,
    kSolid,  // the colour
    kHalf,   // the colour at 50% opacity
};

struct ImagePoint {
    float x = 0;
    float y = 0;
};

struct AnnotationStyle {
    COLORREF colour = RGB(255, 0, 0);
    float width = 3;  // line width in image pixels, 1 to 20
    AnnotationFill fill = AnnotationFill::kNone;
    std::wstring fontFace;  // empty: the system's default Chinese UI font
    float fontSize = 16;    // text height in image pixels
    int mosaicBlock = 12;   // block edge in image pixels, 4 to 32
};

struct Annotation {
    AnnotationKind kind = AnnotationKind::kRectangle;
    // kArrow, kLine: the start and the end (where the arrowhead is).
    // kRectangle, kEllipse, kRedact, kMosaic: two opposite corners of the box, as dragged.
    // kPen, kHighlighter: the stroke's points in order (at least one).
    // kText: the top-left and the bottom-right corner of the laid-out text.
    // kStep: the circle's centre.
    std::vector<ImagePoint> points;
    AnnotationStyle style;
    std::wstring text;  // kText
    int number = 0;     // kStep
};

// Step numbers run from 1 to this; the next number after it stays it.
constexpr int kMaxStepNumber = 100000;

// The radius of a step number's circle in image pixels, from its font size.
inline float StepRadius(const AnnotationStyle& style)
{
    return style.fontSize * 0.875f + 2;
}
