#pragma once
#include <windows.h>

#include <functional>

#include "annotate/Annotation.h"

// The drawing tools, in the order of their commands (ID_TOOL_HAND ...) and pictures.
enum class AnnotationTool : unsigned char {
    kHand,
    kSelect,
    kArrow,
    kLine,
    kRectangle,
    kEllipse,
    kPen,
    kHighlighter,
    kText,
    kStep,
    kRedact,
    kMosaic,
    kCrop,
};
constexpr int kAnnotationToolCount = 13;

// The properties a change may touch, as bits.
enum AnnotationProperty : unsigned {
    kPropertyColour = 1,
    kPropertyWidth = 2,
    kPropertyFill = 4,
    kPropertyFont = 8,
    kPropertyMosaicBlock = 16,
};

// The eight colours offered beside 更多颜色….
extern const COLORREF g_annotationPresetColours[8];

// The tool chosen and the look of the next mark, shared by every document. The look is
// kept between runs in lumigrab.ini; every run starts with the hand. 遮盖 has a colour of its own (black by default); while
// it is the tool, the colour read and set is that one.
class CAnnotationTools {
public:
    AnnotationTool Tool() const { return m_tool; }
    void SetTool(AnnotationTool tool);

    // The look of the next mark of this kind.
    AnnotationStyle StyleFor(AnnotationKind kind) const;
    // The colour shown on the colour button: 遮盖's while it is the tool.
    COLORREF Colour() const;
    const AnnotationStyle& Style() const { return m_style; }

    // Each setter clamps to the allowed range and tells the observer.
    void SetColour(COLORREF colour);
    void SetWidth(float width);  // 1 to 20
    void SetFill(AnnotationFill fill);
    void SetFont(const std::wstring& face, float size);
    void SetMosaicBlock(int block);  // 4 to 32

    // Called after every change, with the AnnotationProperty bits it touched (0 for the tool).
    void SetObserver(std::function<void(unsigned)> observer) { m_observer = std::move(observer); }

    // Reads the [Annotate] section of the file; a missing file or value, or one out of
    // range, gives the default.
    void Load(const char* iniPath);
    // Writes every property; false with the reason as the last error.
    bool Save(const char* iniPath) const;

private:
    void Changed(unsigned properties);

    AnnotationTool m_tool = AnnotationTool::kHand;
    AnnotationStyle m_style;
    COLORREF m_redactColour = RGB(0, 0, 0);
    std::function<void(unsigned)> m_observer;
};
