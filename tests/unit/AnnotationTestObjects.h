#pragma once

#include <vector>

#include "annotate/Annotation.h"

// One object of every kind, with the values at the edges of what a stored list holds:
// Chinese texts and font names, fractional and negative coordinates, every fill, the
// smallest and largest widths, sizes and blocks, long strokes.
std::vector<Annotation> AnnotationsOfEveryKind();

// Every field equal, floats bit for bit.
void ExpectSameAnnotations(const std::vector<Annotation>& expected, const std::vector<Annotation>& actual);
