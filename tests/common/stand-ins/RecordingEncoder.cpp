// Stands in for mencoder.exe: appends the arguments it received, as CommandLineToArgvW
// splits them, one a line in the ANSI code page, to "encoder-args.txt" in the current
// folder, then a line "--". It makes the pass log it is named and takes a moment, as an
// encoder would. An input name holding "fail" makes it fail. When its input exists, it
// writes a small file as its output, as an encoder would; without one it writes nothing. An
// input name holding "backdated" makes it date that output an hour back, as a file server whose
// clock runs behind does. It also writes the command line of the process that started it (cmd)
// to "encoder-parent.txt", and its environment, one variable a line, to "encoder-environment.txt",
// both in UTF-8.
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <string>

namespace {

DWORD ParentId()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry;
    entry.dwSize = sizeof entry;
    DWORD parent = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID == GetCurrentProcessId()) parent = entry.th32ParentProcessID;
    }
    CloseHandle(snapshot);
    return parent;
}

// Read from the parent's process parameters, as no documented call gives another process's command line.
std::wstring ParentCommandLine()
{
    using Query = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    HANDLE parent = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ParentId());
    std::wstring line = L"(unknown)";
    PROCESS_BASIC_INFORMATION basic;
    PEB peb;
    RTL_USER_PROCESS_PARAMETERS parameters;
    if (parent && query && query(parent, ProcessBasicInformation, &basic, sizeof basic, nullptr) == 0 &&
        ReadProcessMemory(parent, basic.PebBaseAddress, &peb, sizeof peb, nullptr) &&
        ReadProcessMemory(parent, peb.ProcessParameters, &parameters, sizeof parameters, nullptr)) {
        line.assign(parameters.CommandLine.Length / 2, L'\0');
        if (!ReadProcessMemory(parent, parameters.CommandLine.Buffer, &line[0], parameters.CommandLine.Length, nullptr)) {
            line = L"(unreadable)";
        }
    }
    if (parent) CloseHandle(parent);
    return line;
}

void WriteWhole(const char* name, const std::string& bytes, DWORD disposition, DWORD access)
{
    HANDLE file = CreateFileA(name, access, 0, nullptr, disposition, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), bytes.size(), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

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
    // An input named "unmade" stands for one the encoder cannot read: no output.
    if (count > 3 && GetFileAttributesW(argv[1]) != INVALID_FILE_ATTRIBUTES && !wcsstr(argv[1], L"unmade") &&
        lstrcmpiW(argv[count - 1], L"NUL") != 0) {
        HANDLE output = CreateFileW(argv[count - 1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD made = 0;
        WriteFile(output, "FLV\x01", 4, &made, nullptr);
        if (wcsstr(argv[1], L"backdated")) {
            FILETIME now;
            GetSystemTimeAsFileTime(&now);
            ULARGE_INTEGER time = {{now.dwLowDateTime, now.dwHighDateTime}};
            time.QuadPart -= 3600ULL * 10000000ULL;
            FILETIME back = {time.LowPart, time.HighPart};
            SetFileTime(output, nullptr, nullptr, &back);
        }
        CloseHandle(output);
    }
    WriteWhole("encoder-args.txt", record, OPEN_ALWAYS, FILE_APPEND_DATA);
    const std::wstring parent = ParentCommandLine();
    char line[8192];
    int size = WideCharToMultiByte(CP_UTF8, 0, parent.c_str(), -1, line, sizeof line, nullptr, nullptr);
    WriteWhole("encoder-parent.txt", std::string(line, size > 0 ? size - 1 : 0), CREATE_ALWAYS, GENERIC_WRITE);
    std::string environment;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry; entry += lstrlenW(entry) + 1) {
        size = WideCharToMultiByte(CP_UTF8, 0, entry, -1, line, sizeof line, nullptr, nullptr);
        environment.append(line, size > 0 ? size - 1 : 0);
        environment += "\r\n";
    }
    FreeEnvironmentStringsW(strings);
    WriteWhole("encoder-environment.txt", environment, CREATE_ALWAYS, GENERIC_WRITE);
    Sleep(300);
    return fail ? 1 : 0;
}
