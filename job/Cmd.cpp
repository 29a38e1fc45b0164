#include "job/Cmd.h"

#include "support/CodePage.h"
#include "support/SystemEntry.h"
#include "support/TextBuffer.h"
#include "support/WideText.h"

namespace {

bool IsWindows64()
{
    if (sizeof(void*) == 8) return true;
    BOOL wow64 = FALSE;
    auto isWow64 = SystemEntry<BOOL(WINAPI*)(HANDLE, PBOOL)>("kernel32.dll", "IsWow64Process");
    return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

// GetBinaryType says yes to DOS and 16-bit programs, which 64-bit Windows cannot run, and to
// 64-bit programs, which 32-bit Windows cannot.
bool IsRunnableProgram(const wchar_t* file)
{
    DWORD kind;
    if (!GetBinaryTypeW(file, &kind)) return false;
    return kind == SCS_32BIT_BINARY || (kind == SCS_64BIT_BINARY && IsWindows64());
}

// Where cmd, looking for a program by its bare name, stops in one folder of its search.
enum ProgramFound { ProgramNotHere, ProgramRunnable, ProgramNotRunnable };

ProgramFound LookIn(const wchar_t* place, const wchar_t* folder, const wchar_t* name)
{
    WideText file;
    if (!*place || !FullNameIn(place, folder, file)) return ProgramNotHere;
    if (file.Data()[file.Length() - 1] != L'\\') file.Append(L"\\");
    file.Append(name);
    DWORD attributes = GetFileAttributesW(file.Data());
    if (attributes == INVALID_FILE_ATTRIBUTES) return ProgramNotHere;
    // A folder of that name, an empty file or any other that is no program ends the search too.
    bool program = !(attributes & FILE_ATTRIBUTE_DIRECTORY) && IsRunnableProgram(file.Data());
    return program ? ProgramRunnable : ProgramNotRunnable;
}

}  // namespace

void AppendScriptName(TextBuffer& line, const char* name)
{
    TextBuffer quoted(2 * lstrlenA(name) + 2);
    char* out = quoted.Data();
    *out++ = '"';
    for (const char* p = name; *p;) {
        const char* next = CharNextA(p);
        if (*p == '%') {
            *out++ = '%';
            *out++ = '%';
        } else if (*p != '"') {
            while (p < next) *out++ = *p++;
        }
        p = next;
    }
    *out++ = '"';
    *out = '\0';
    line.Append(quoted.Data());
}

bool IsPlainScriptValue(const char* text)
{
    for (const char* p = text; *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c < 0x20 || c == '&' || c == '|' || c == '<' || c == '>' || c == '^' || c == '"' || c == '%') return false;
    }
    return true;
}

bool RunsScriptsIn(const wchar_t* folder)
{
    return !IsNetworkName(folder);
}

bool FindsProgram(const wchar_t* folder, const wchar_t* name)
{
    DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    WideText path(static_cast<int>(size));
    if (size == 0 || GetEnvironmentVariableW(L"PATH", path.Data(), path.BufferSize()) == 0) path.Assign(L"");
    // cmd looks in the folder the script runs in, then in each folder of the PATH; the first
    // match decides. Quotes group an entry (a ';' inside is part of it) and are dropped.
    WideText own;
    own.Assign(folder);
    own.AddRootBackslash();
    ProgramFound found = LookIn(own.Data(), own.Data(), name);
    WideText entry(path.Length());
    for (const wchar_t* p = path.Data(); found == ProgramNotHere && *p;) {
        int length = 0;
        for (bool quoted = false; *p && (quoted || *p != L';'); ++p) {
            if (*p == L'"') {
                quoted = !quoted;
            } else {
                entry.Data()[length++] = *p;
            }
        }
        entry.Data()[length] = L'\0';
        if (*p) ++p;
        // Wine's cmd ends its search at an empty entry, Windows' goes on: the warning is the safe side.
        if (length == 0) break;
        found = LookIn(entry.Data(), own.Data(), name);
    }
    return found == ProgramRunnable;
}

bool MakeCmdLine(const wchar_t* systemFolder, UINT codePage, WideText& program, WideText& line)
{
    for (const wchar_t* p = systemFolder; *p; ++p) {
        if (*p == L'%') return false;
    }
    wchar_t page[12];
    wsprintfW(page, L"%u", codePage);
    program.Assign(systemFolder);
    program.Append(L"\\cmd.exe");
    // /s: the outer quotes go, and what they held runs as written. The script is named from the
    // folder cmd starts in: a folder's name on this line would be expanded.
    const wchar_t* const parts[] = {L"\"", program.Data(), L"\" /d /v:off /s /c \"\"", systemFolder, L"\\chcp.com\" ",
                                    page, L" >nul & \".\\~enc.bat\"\""};
    line.Assign(L"");
    for (const wchar_t* part : parts) line.Append(part);
    return true;
}

void MakeCmdEnvironment(const wchar_t* strings, WideText& block)
{
    static const wchar_t kName[] = L"NoDefaultCurrentDirectoryInExePath";
    const int nameLength = sizeof kName / sizeof kName[0] - 1;
    const wchar_t* end = strings;
    while (*end) end += lstrlenW(end) + 1;
    block.Reserve(static_cast<int>(end - strings) + 1);
    wchar_t* out = block.Data();
    for (const wchar_t* entry = strings; *entry; entry += lstrlenW(entry) + 1) {
        int length = lstrlenW(entry);
        wchar_t name[nameLength + 1] = L"";
        if (length > nameLength && entry[nameLength] == L'=') CopyMemory(name, entry, nameLength * sizeof(wchar_t));
        if (lstrcmpiW(name, kName) == 0) continue;
        CopyMemory(out, entry, (length + 1) * sizeof(wchar_t));
        out += length + 1;
    }
    out[0] = out[1] = L'\0';
}

bool StartCmd(const wchar_t* folder, UINT codePage, ProcessStarter start, PROCESS_INFORMATION& process)
{
    wchar_t system[MAX_PATH];
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    WideText program, line, environment;
    if (length == 0 || length >= MAX_PATH || !MakeCmdLine(system, codePage, program, line)) {
        SetLastError(ERROR_BAD_PATHNAME);
        return false;
    }
    wchar_t* strings = GetEnvironmentStringsW();
    MakeCmdEnvironment(strings ? strings : L"\0", environment);
    if (strings) FreeEnvironmentStringsW(strings);
    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    return start(program.Data(), line.Data(), nullptr, nullptr, FALSE,
                 CREATE_NEW_CONSOLE | CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT, environment.Data(), folder, &startup,
                 &process) != FALSE;
}
