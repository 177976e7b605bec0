#pragma once
#include <string>

// The face that a text mark's empty font face stands for: the system's message font (a
// Chinese one on a Chinese system), as the font mapper makes it, since the message
// font is often an alias such as "MS Shell Dlg" that neither GDI+ nor the font dialog
// lists.
std::wstring DefaultFontFace();
