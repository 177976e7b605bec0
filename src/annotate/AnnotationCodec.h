#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "annotate/Annotation.h"

// The object list of a document as bytes, for the program's own PNG chunk (see
// AnnotatedPng.h); the format is described beside DecodeAnnotations in the .cpp file and
// in the help (annotation-files.htm).

// What a stored list may hold; a reader refuses anything beyond.
constexpr size_t kMaxStoredAnnotations = 100000;
// Renumbering gives every step of a full list a number of its own.
static_assert(kMaxStoredAnnotations <= size_t{kMaxStepNumber}, "step numbers for every stored mark");
constexpr size_t kMaxStoredPoints = 1000000;  // of all objects together
constexpr size_t kMaxStoredTextUnits = 32768;  // 64 KiB of UTF-16
constexpr size_t kMaxStoredFontFaceUnits = LF_FACESIZE - 1;
constexpr float kMaxStoredCoordinate = 1e6f;

// True when the object keeps to what a stored list may hold: a known kind and fill,
// a colour without a high byte, a width of 1 to 20, a font size of 6 to 200, a mosaic
// block of 4 to 32, finite coordinates within a million pixels either way, the number
// of points its kind has (two for the lines, boxes and text, one for a step, at least
// one for the pen and the highlighter), a text of at most 32768 UTF-16 units and a font
// name of at most 31, and a step number of 1 to kMaxStepNumber.
bool IsStorableAnnotation(const Annotation& object);
// True when every object is storable and the counts are within the limits above.
bool AreStorableAnnotations(const std::vector<Annotation>& objects);

// The bytes of a storable list (see AreStorableAnnotations; what is outside it would
// not be read back).
std::string EncodeAnnotations(const std::vector<Annotation>& objects);

// The list the bytes hold; false, and objects unchanged, when they are not exactly one
// whole storable list of a version this program reads.
bool DecodeAnnotations(const std::string& bytes, std::vector<Annotation>& objects);
