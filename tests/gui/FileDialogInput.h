#pragma once
#include <windows.h>

#include <string>

// Typing into the Open and Save As dialogs from a CDialogAnswerer step, as a user does.

// Replaces the text of the focused name box with the typed name.
void TypeName(const std::string& name);

// Lets the dialog, whose modal loop runs the step, take the keys sent so far.
void HandleInput(HWND dialog);

// Presses Enter; a dialog that stays open (it asks for something else) is cancelled, so
// that a wrong answer fails the test instead of hanging it.
void PressEnterOrCancel(HWND dialog);

// The text of the dialog's name box.
std::string NameBox(HWND dialog);
