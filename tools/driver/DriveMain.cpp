// drive.exe: steps of a user's run of Brumweld, for `make run` without a desktop.
//   drive fill-run OUTPUT   names the output file, presses Run and waits until the window is busy
//   drive fill-click OUTPUT names the output file and presses Run, without waiting
//   drive wait-idle SECONDS waits until the window is idle again
//   drive close             closes the window as its close box would
//   drive answer SECONDS    waits for a box of the program, prints its text and answers OK
//   drive shown SECONDS     waits until the window is visible, brings it to the front, has it
//                           painted whole and its process idle, and prints its rectangle:
//                           left top width height
//   drive front             ends with 0 when no visible window lies over any part of the window
//   drive desktop           holds a hidden window of its own until killed, so the display's
//                           desktop stays up; ends with 1 at once when it cannot make one
#include "tools/driver/Drive.h"
#include "ui/main/resource.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A picture is taken only of a window that is on the screen and drawn: the dialog exists
// before it is shown, and its controls paint after it.
int WaitShown(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    HWND window = nullptr;
    while (!(window = FindWindowA("#32770", "Brumweld")) || !IsWindowVisible(window) || IsIconic(window)) {
        if (GetTickCount() - start >= milliseconds) {
            std::fprintf(stderr, "drive: no visible Brumweld window within %lu seconds\n", milliseconds / 1000);
            return 1;
        }
        Sleep(50);
    }
    // In front of the encoder's console, which opens over it when Run is pressed.
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    DWORD elapsed = GetTickCount() - start;
    DWORD idle = process ? WaitForInputIdle(process, elapsed < milliseconds ? milliseconds - elapsed : 0) : WAIT_FAILED;
    if (process) CloseHandle(process);
    if (idle != 0) {
        std::fprintf(stderr, "drive: the Brumweld window's process did not become idle\n");
        return 1;
    }
    RECT rect;
    if (!IsWindow(window) || !GetWindowRect(window, &rect)) {
        std::fprintf(stderr, "drive: the Brumweld window went away\n");
        return 1;
    }
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    return 0;
}

bool InFront(HWND window)
{
    RECT rect, other, overlap;
    GetWindowRect(window, &rect);
    for (HWND above = GetWindow(window, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        if (IsWindowVisible(above) && GetWindowRect(above, &other) && IntersectRect(&overlap, &rect, &other)) return false;
    }
    return true;
}

// The box's text in UTF-8, so a shell script compares it whatever the code page.
int Answer(HWND window, DWORD milliseconds)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    for (DWORD start = GetTickCount(); GetTickCount() - start < milliseconds; Sleep(50)) {
        HWND box = drive::FindProcessWindow(processId, "#32770", window);
        if (!box) continue;
        wchar_t text[1024] = L"";
        char utf8[4096] = "";
        SendDlgItemMessageW(box, 0xFFFF, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
        std::printf("%s\n", utf8);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return 0;
    }
    std::fprintf(stderr, "drive: no box within %lu seconds\n", milliseconds / 1000);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    if (std::strcmp(argv[1], "desktop") == 0) {
        HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (!probe) return 1;
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        return 0;
    }
    if (std::strcmp(argv[1], "shown") == 0 && argc == 3) return WaitShown(1000 * std::atoi(argv[2]));
    HWND window = FindWindowA("#32770", "Brumweld");
    if (!window) {
        std::fprintf(stderr, "drive: no Brumweld window\n");
        return 1;
    }
    if (std::strcmp(argv[1], "fill-run") == 0 && argc == 3) {
        drive::SetText(window, IDC_OUTPUT_FILE, argv[2]);
        drive::Click(window, IDC_RUN);
        return drive::WaitEnabled(window, IDC_RUN, false, 10000) ? 0 : 1;
    }
    if (std::strcmp(argv[1], "fill-click") == 0 && argc == 3) {
        drive::SetText(window, IDC_OUTPUT_FILE, argv[2]);
        drive::Click(window, IDC_RUN);
        return 0;
    }
    if (std::strcmp(argv[1], "wait-idle") == 0 && argc == 3) {
        return drive::WaitEnabled(window, IDC_RUN, true, 1000 * std::atoi(argv[2])) ? 0 : 1;
    }
    if (std::strcmp(argv[1], "front") == 0) return InFront(window) ? 0 : 1;
    if (std::strcmp(argv[1], "close") == 0) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    }
    if (std::strcmp(argv[1], "answer") == 0 && argc == 3) return Answer(window, 1000 * std::atoi(argv[2]));
    return 2;
}
