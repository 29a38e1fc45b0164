#pragma once

#include <windows.h>

// The executable's own module.
HINSTANCE ModuleHandle();
// Never freed: icons live as long as the process.
HICON LoadIconImage(WORD id, int size);
