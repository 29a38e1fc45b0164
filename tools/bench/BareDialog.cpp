// bare-dialog.exe: the least any program must do to show Brumweld's window. It sets up
// the common controls and shows the very dialog template of the Brumweld.exe beside it,
// read as data, with no logic behind it; closing it ends the program.
#include "ui/main/resource.h"

#include <windows.h>
#include <commctrl.h>

namespace {

INT_PTR CALLBACK BareProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_CLOSE: DestroyWindow(dialog); return TRUE;
    case WM_DESTROY: PostQuitMessage(0); return TRUE;
    default: return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);

    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    char* name = path + length;
    while (name > path && name[-1] != '\\') --name;
    if (name - path + sizeof "Brumweld.exe" > MAX_PATH) return 1;
    lstrcpyA(name, "Brumweld.exe");

    HMODULE templates = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!templates) return 1;
    HWND dialog = CreateDialogParamA(templates, MAKEINTRESOURCEA(IDD_MAIN), nullptr, BareProc, 0);
    if (!dialog) return 1;
    ShowWindow(dialog, SW_SHOWNORMAL);

    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
