// Presses a key in the console of another process: usage: presskey.exe PID
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    FreeConsole();
    if (!AttachConsole(static_cast<DWORD>(std::atol(argv[1])))) return 3;
    HANDLE input = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    if (input == INVALID_HANDLE_VALUE) return 4;
    INPUT_RECORD keys[2] = {};
    for (int i = 0; i < 2; ++i) {
        keys[i].EventType = KEY_EVENT;
        keys[i].Event.KeyEvent.bKeyDown = i == 0;
        keys[i].Event.KeyEvent.wRepeatCount = 1;
        keys[i].Event.KeyEvent.wVirtualKeyCode = VK_RETURN;
        keys[i].Event.KeyEvent.wVirtualScanCode = static_cast<WORD>(MapVirtualKeyA(VK_RETURN, 0));
        keys[i].Event.KeyEvent.uChar.AsciiChar = '\r';
    }
    DWORD written = 0;
    return WriteConsoleInputA(input, keys, 2, &written) && written == 2 ? 0 : 5;
}
