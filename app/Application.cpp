#include "app/Application.h"

#include <commctrl.h>

bool Application::Initialize(const char* mutexName, bool initCommonControls)
{
    if (initCommonControls) {
        INITCOMMONCONTROLSEX controls = {sizeof controls, 0xFF};
        InitCommonControlsEx(&controls);
    }
    if (!mutexName) return true;
    SetLastError(0);
    // Never closed: the mutex keeps later copies out for as long as this process lives.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, mutexName);
    if (GetLastError() == ERROR_ALREADY_EXISTS) return false;
    return mutex != nullptr;
}

int Application::RunMessageLoop(HWND mainDialog)
{
    MSG msg = {};
    for (;;) {
        // The wide forms: a character typed into a file field is not narrowed on its way.
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        if (IsDialogMessageW(mainDialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
