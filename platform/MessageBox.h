#pragma once
// Modal message boxes with the caption "pixmoor". The GUI installs a handler
// that shows a real box; tests install one that records the text; without a
// handler the text goes to standard error.

#include "Win32Types.h"

typedef int (*MessageBoxHandler)(const char* text, UINT type);

// Shows `text` and returns IDOK once the user has dismissed the box.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);

// Installs a handler and returns the previous one (null: standard error).
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
