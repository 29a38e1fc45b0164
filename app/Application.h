#pragma once

#include <windows.h>

// The program's outer frame: single-instance guard, common controls and the message loop.
class Application {
public:
    // False when another copy holds the named mutex or the mutex cannot be made.
    bool Initialize(const char* mutexName, bool initCommonControls);
    // Runs until WM_QUIT; every message passes the main dialog's keyboard handling first.
    int RunMessageLoop(HWND mainDialog);
};
