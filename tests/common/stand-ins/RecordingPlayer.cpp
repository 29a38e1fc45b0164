// Stands in for the user's player: writes its arguments, as CommandLineToArgvW splits
// them, one a line in UTF-8, so any name reads as it was given, to "player-args.txt" beside itself.
#include <windows.h>
#include <shellapi.h>

#include <string>

int main()
{
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::string record;
    for (int i = 1; i < count; ++i) {
        char text[4096];
        int size = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, text, sizeof text, nullptr, nullptr);
        record.append(text, size > 0 ? size - 1 : 0);
        record += "\r\n";
    }
    // Its own folder by its wide name: the checkout's folder may be one the code page cannot hold.
    wchar_t path[32768];
    GetModuleFileNameW(nullptr, path, 32768);
    wchar_t* name = wcsrchr(path, L'\\') + 1;
    lstrcpyW(name, L"player-args.tmp");
    std::wstring temporary = path;
    lstrcpyW(name, L"player-args.txt");
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, record.data(), record.size(), &written, nullptr);
    CloseHandle(file);
    // Whole or not at all for the test that waits for it.
    MoveFileExW(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING);
    return 0;
}
