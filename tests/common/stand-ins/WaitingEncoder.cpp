// Stands in for mencoder.exe in the main window's folder. While a test holds the event
// "BrumweldTestEncoderGate" it makes the pass log it is named and waits until the event
// is set (a minute at most); then it appends a line to "encoder-done.txt". Without the
// event it ends at once.
#include <windows.h>
#include <shellapi.h>

int main()
{
    HANDLE gate = OpenEventA(SYNCHRONIZE, FALSE, "BrumweldTestEncoderGate");
    if (!gate) return 0;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; i + 1 < count; ++i) {
        if (lstrcmpW(argv[i], L"-passlogfile") != 0) continue;
        HANDLE log = CreateFileW(argv[i + 1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (log != INVALID_HANDLE_VALUE) CloseHandle(log);
    }
    WaitForSingleObject(gate, 60000);
    HANDLE done = CreateFileA("encoder-done.txt", FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(done, "done\r\n", 6, &written, nullptr);
    CloseHandle(done);
    return 0;
}
