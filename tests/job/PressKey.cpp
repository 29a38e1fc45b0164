// Presses a key in the console of another process: usage: presskey.exe PID
// With --wait-for TEXT it presses nothing: it waits (20 s at most) until the console shows the
// text, and ends with 0 once it does.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool Shows(const char* text)
{
    HANDLE output = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO screen;
    bool shown = false;
    if (output != INVALID_HANDLE_VALUE && GetConsoleScreenBufferInfo(output, &screen)) {
        std::string characters(static_cast<size_t>(screen.dwSize.X) * screen.dwSize.Y, ' ');
        DWORD read = 0;
        COORD origin = {0, 0};
        ReadConsoleOutputCharacterA(output, &characters[0], static_cast<DWORD>(characters.size()), origin, &read);
        shown = characters.find(text) != std::string::npos;
    }
    if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
    return shown;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    FreeConsole();
    if (!AttachConsole(static_cast<DWORD>(std::atol(argv[1])))) return 3;
    if (argc == 4 && std::strcmp(argv[2], "--wait-for") == 0) {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 20000; Sleep(50)) {
            if (Shows(argv[3])) return 0;
        }
        return 6;
    }
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
