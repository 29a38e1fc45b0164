// drive.exe: steps of a user's run of Brumweld, for `make run` without a desktop.
//   drive fill-run OUTPUT   names the output file, presses Run and waits until the window is busy
//   drive fill-click OUTPUT names the output file and presses Run, without waiting
//   drive wait-idle SECONDS waits until the window is idle again
//   drive close             closes the window as its close box would
//   drive desktop           holds a hidden window of its own until killed, so the display's
//                           desktop stays up; ends with 1 at once when it cannot make one
#include "tools/driver/Drive.h"
#include "ui/main/resource.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

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
    if (std::strcmp(argv[1], "close") == 0) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    }
    return 2;
}
