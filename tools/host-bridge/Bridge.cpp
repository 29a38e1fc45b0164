// A Windows program that stands for the host program of its own name (mencoder.exe runs
// the host's mencoder, ffprobe.exe its ffprobe): it hands its arguments over, Windows
// paths as host paths and NUL as the null device, and returns only when the host
// program has finished, with its exit status. cmd cannot wait for a host program itself,
// so the host side (host-bridge.sh, beside this program) writes the status to a file
// that this program watches.
#include "tools/common/StdText.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using UnixFileName = char*(CDECL*)(const WCHAR*);

// The host's names are UTF-8.
std::string Utf8(const std::wstring& text)
{
    return ToNarrow(text, CP_UTF8);
}

std::wstring Wide(const std::string& utf8)
{
    return ToWide(utf8, CP_UTF8);
}

std::string UnixPath(const std::wstring& windowsPath)
{
    static auto convert = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    if (!convert) return Utf8(windowsPath);
    char* unix = convert(windowsPath.c_str());
    if (!unix) return Utf8(windowsPath);
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

bool LooksLikeWindowsPath(const std::wstring& argument)
{
    bool drive = argument.size() >= 2 && iswalpha(argument[0]) && argument[1] == L':';
    return drive || argument.find(L'\\') != std::wstring::npos;
}

std::string HostArgument(const std::wstring& argument)
{
    if (lstrcmpiW(argument.c_str(), L"NUL") == 0) return "/dev/null";
    return LooksLikeWindowsPath(argument) ? UnixPath(argument) : Utf8(argument);
}

std::wstring ProgramPath()
{
    WCHAR path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::wstring ProgramFolder()
{
    std::wstring path = ProgramPath();
    return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring HostProgramName()
{
    std::wstring path = ProgramPath();
    std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    return name.substr(0, name.find_last_of(L'.'));
}

// Reads the first number in a file, or -1 while it cannot be read.
long ReadNumber(const std::wstring& path)
{
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return -1;
    long number = -1;
    if (std::fscanf(file, "%ld", &number) != 1) number = -2;
    std::fclose(file);
    return number;
}

using DosFileName = WCHAR*(CDECL*)(const char*);

// Whether a host process lives, seen through its /proc folder, whatever drives the prefix maps.
bool HostProcessAlive(long pid)
{
    static auto convert = reinterpret_cast<DosFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_dos_file_name")));
    if (!convert) return true;
    WCHAR* path = convert(("/proc/" + std::to_string(pid)).c_str());
    if (!path) return true;
    bool alive = GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
    HeapFree(GetProcessHeap(), 0, path);
    return alive;
}

}  // namespace

int main()
{
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);

    WCHAR temp[MAX_PATH], current[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    GetCurrentDirectoryW(MAX_PATH, current);
    const std::wstring stem = std::wstring(temp) + L"host-bridge-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring argsFile = stem + L".args", statusFile = stem + L".status";
    DeleteFileW(statusFile.c_str());

    // The working folder, the host program, then its arguments, each ended by NUL.
    std::string args = UnixPath(current) + '\0' + Utf8(HostProgramName()) + '\0';
    for (int i = 1; i < count; ++i) args += HostArgument(argv[i]) + '\0';
    HANDLE file = CreateFileW(argsFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (file == INVALID_HANDLE_VALUE || !WriteFile(file, args.data(), args.size(), &written, nullptr)) {
        std::fprintf(stderr, "host bridge: cannot write %ls\n", argsFile.c_str());
        return 126;
    }
    CloseHandle(file);

    // A host program started this way gives no process handle to wait on.
    std::wstring line = L"Z:\\bin\\bash \"" + Wide(UnixPath(ProgramFolder() + L"\\host-bridge.sh")) + L"\" \"" +
                        Wide(UnixPath(argsFile)) + L"\" \"" + Wide(UnixPath(statusFile)) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "host bridge: cannot start the host program (%lu)\n", GetLastError());
        DeleteFileW(argsFile.c_str());
        return 126;
    }
    // Wine gives a host program no process handle, and a thread "handle" that is no handle of ours.
    if (process.hProcess) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    // Encodes can take hours, so the wait ends early only when the host side is gone without
    // a status: its shell writes its host process id first, and that process is watched.
    const std::wstring pidFile = statusFile + L".pid";
    const DWORD start = GetTickCount();
    long pid = -1;
    int status = -1;
    for (unsigned polls = 0; status < 0; ++polls) {
        Sleep(50);
        long number = ReadNumber(statusFile);
        if (number != -1) {
            status = number >= 0 ? static_cast<int>(number) : 125;
            break;
        }
        if (polls % 20 != 19) continue;
        if (pid <= 0) pid = ReadNumber(pidFile);
        if (pid <= 0 && GetTickCount() - start > 60000) {
            std::fprintf(stderr, "host bridge: the host side did not start within 60 seconds\n");
            status = 124;
        } else if (pid > 0 && !HostProcessAlive(pid) && ReadNumber(statusFile) == -1) {
            std::fprintf(stderr, "host bridge: the host side (process %ld) ended without an exit status\n", pid);
            status = 124;
        }
    }
    DeleteFileW(pidFile.c_str());
    DeleteFileW(statusFile.c_str());
    DeleteFileW(argsFile.c_str());
    return status;
}
