// Stands in for mencoder.exe: appends the arguments it received, as CommandLineToArgvW
// splits them, one a line in the ANSI code page, to "encoder-args.txt" in the current
// folder, then a line "--". It makes the pass log it is named and takes a moment, as an
// encoder would. An input name holding "fail" makes it fail. When its input exists, it
// writes a small file as its output, as an encoder would; without one it writes nothing.
#include <windows.h>
#include <shellapi.h>

#include <string>

int main()
{
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::string record;
    bool fail = false;
    for (int i = 1; i < count; ++i) {
        char text[4096];
        int size = WideCharToMultiByte(CP_ACP, 0, argv[i], -1, text, sizeof text, nullptr, nullptr);
        record.append(text, size > 0 ? size - 1 : 0);
        record += "\r\n";
        if (wcsstr(argv[i], L"fail")) fail = true;
        if (lstrcmpW(argv[i], L"-passlogfile") == 0 && i + 1 < count) {
            HANDLE log = CreateFileW(argv[i + 1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            if (log != INVALID_HANDLE_VALUE) CloseHandle(log);
        }
    }
    record += "--\r\n";
    if (count > 3 && GetFileAttributesW(argv[1]) != INVALID_FILE_ATTRIBUTES && lstrcmpiW(argv[count - 1], L"NUL") != 0) {
        HANDLE output = CreateFileW(argv[count - 1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD made = 0;
        WriteFile(output, "FLV\x01", 4, &made, nullptr);
        CloseHandle(output);
    }
    HANDLE file = CreateFileA("encoder-args.txt", FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, record.data(), record.size(), &written, nullptr);
    CloseHandle(file);
    Sleep(300);
    return fail ? 1 : 0;
}
