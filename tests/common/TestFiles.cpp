#include "common/TestFiles.h"

#include "tools/common/StdText.h"

#include <windows.h>
#include <tlhelp32.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

// Wide, so files named in no code page go too.
void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

TempFolder::TempFolder()
{
    static int counter = 0;
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::ostringstream name;
    name << base << "brumweld-test-" << GetCurrentProcessId() << "-" << ++counter;
    path = name.str();
    RemoveTree(Widen(path));
    CreateDirectoryA(path.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    // In the long form: a test may leave a tree deeper than MAX_PATH.
    RemoveTree(L"\\\\?\\" + Widen(path));
}

std::wstring TempFolder::File(const std::wstring& name) const
{
    return Widen(path) + L"\\" + name;
}

std::string MakeDeepFolder(const std::string& base, size_t length)
{
    std::string folder = base;
    while (folder.size() < length) {
        // Parts of 40 characters; the last takes what is left.
        size_t left = length - folder.size();
        folder += "\\" + std::string(left > 60 ? 40 : left - 1, 'd');
        if (!CreateDirectoryW((L"\\\\?\\" + Widen(folder)).c_str(), nullptr)) return "";
    }
    return folder.size() == length ? folder : "";
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ExecutablePath()
{
    std::wstring path(MAX_PATH, L'\0');
    DWORD length;
    while ((length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()))) >= path.size()) {
        path.resize(2 * path.size());
    }
    path.resize(length);
    // A checkout in a folder named é: by its short name.
    return CodePageName(path);
}

std::string CodePageName(const std::wstring& name)
{
    TextBuffer exact;
    if (ToCodePage(name.c_str(), CP_ACP, exact)) return exact.Data();
    std::wstring shortName(32768, L'\0');
    shortName.resize(GetShortPathNameW(name.c_str(), &shortName[0], static_cast<DWORD>(shortName.size())));
    return shortName.empty() ? exact.Data() : Narrow(shortName);
}

std::string FullDiskFolder(std::string& skipReason)
{
    // Read wide: the host's folder may hold a name the code page cannot.
    wchar_t unixFolder[32768] = L"";
    if (!GetEnvironmentVariableW(L"BRUMWELD_FULL_DISK", unixFolder, 32768)) {
        skipReason = "BRUMWELD_FULL_DISK is not set: run through ctest, which mounts the file system";
        return "";
    }
    std::wstring folder = std::wstring(L"Z:") + unixFolder;
    for (wchar_t& c : folder) {
        if (c == L'/') c = L'\\';
    }
    const std::string written = CodePageName(folder);
    if (FileExists(written + "\\skip-reason")) {
        skipReason = ReadFileBytes(written + "\\skip-reason");
        return "";
    }
    return written;
}

std::string ExecutableFolder()
{
    const std::string path = ExecutablePath();
    return path.substr(0, path.find_last_of('\\'));
}

unsigned long FindChildProcess(unsigned long parent, const char* name)
{
    DWORD found = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == parent && lstrcmpiA(entry.szExeFile, name) == 0) found = entry.th32ProcessID;
    }
    CloseHandle(snapshot);
    return found;
}

std::string RunAndCapture(const std::string& commandLine)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    const std::string outputPath = ExecutableFolder() + "\\captured-output.txt";
    HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, ExecutableFolder().c_str(),
                                  &startup, &process);
    CloseHandle(output);
    if (!started) return "(not started)";
    // A program that never ends fails its test instead of holding the whole run.
    const DWORD limit = 10 * 60 * 1000;
    const bool ended = WaitForSingleObject(process.hProcess, limit) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 10000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::string captured = ReadFileBytes(outputPath);
    if (!ended) captured += "\n(" + commandLine + ": did not end within 10 minutes and was ended)\n";
    return captured;
}

bool StartDetached(const std::wstring& commandLine, PROCESS_INFORMATION& process, const std::wstring& folder)
{
    std::wstring line = commandLine;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    process = PROCESS_INFORMATION();
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    process.hThread = nullptr;
    return true;
}

unsigned long RunToEnd(const std::string& commandLine, unsigned long milliseconds)
{
    std::string line = commandLine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        return static_cast<unsigned long>(-1);
    }
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, milliseconds) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

std::string Narrow(const std::wstring& text)
{
    return ToNarrow(text, CP_ACP);
}

std::wstring Widen(const std::string& text)
{
    return ToWide(text, CP_ACP);
}

void FolderFiles::Remove(const std::string& name) const
{
    SetFileAttributesA(File(name).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(File(name).c_str());
}

std::string MakeClip(const std::string& path, int seconds, const char* size)
{
    return RunAndCapture(ExecutableFolder() + "\\ffmpeg.exe -nostdin -y -loglevel error -f lavfi -i testsrc=size=" +
                         size + ":rate=30 -f lavfi -i sine=sample_rate=44100 -t " + std::to_string(seconds) +
                         " -ac 2 -c:v mpeg4 -c:a libmp3lame \"" + path + "\"");
}

std::string PlayerArguments(unsigned long starter, const std::string& file)
{
    auto running = [&] { return FindChildProcess(starter, "player.exe") != 0; };
    if (!FileExists(file) && !running()) return "(player not started)";
    for (DWORD start = GetTickCount(); (!FileExists(file) || running()) && GetTickCount() - start < 20000;) Sleep(50);
    return FileExists(file) ? ReadFileBytes(file) : "(the player wrote nothing)";
}

std::string SettingsTemporary(const std::string& settingsFile)
{
    return settingsFile.substr(0, settingsFile.size() - 4) + ".tmp";
}
