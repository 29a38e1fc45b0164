#pragma once

#include <windows.h>

class WideText;

// The executable's own module.
HINSTANCE ModuleHandle();
// Never freed: icons live as long as the process.
HICON LoadIconImage(WORD id, int size);
// A string-table entry, empty when there is none.
void LoadResourceText(UINT id, WideText& text);
