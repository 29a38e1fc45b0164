// bench.exe: the measuring side of `make bench`. Each figure alternates Brumweld (A) with its
// baseline (B), A B A B, after one pair that warms both up and is not counted, and writes one
// line per pair to RESULTS for tools/bench/run to sum up.
//   bench start FOLDER PAIRS RESULTS
//       A: Brumweld.exe, B: bare-dialog.exe, both from FOLDER, each from process creation to
//       its window shown and idle; a line is "A_ms B_ms A_peak_bytes B_peak_bytes"
//   bench convert FOLDER CLIP OUTPUT PAIRS RESULTS
//       A: Brumweld's Run from the click to the window idle again, B: the "~enc.bat" that
//       Run left behind, run by cmd in FOLDER; a line is "A_ms B_ms"
#include "tools/driver/Drive.h"
#include "ui/main/resource.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const DWORD kStartTimeout = 60000;
const DWORD kRunTimeout = 600000;
// Both windows get the same time to paint before their memory is read.
const DWORD kSettleMilliseconds = 300;

double Now()
{
    static const double ticksPerMillisecond = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return frequency.QuadPart / 1000.0;
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return count.QuadPart / ticksPerMillisecond;
}

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "bench: %s\n", what.c_str());
    std::fflush(stderr);
    ExitProcess(1);
}

PROCESS_INFORMATION Launch(const std::string& commandLine, const std::string& folder, DWORD flags)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, flags, nullptr, folder.c_str(), &startup,
                        &process)) {
        Fail("cannot start " + commandLine + " (" + std::to_string(GetLastError()) + ")");
    }
    CloseHandle(process.hThread);
    return process;
}

// Closes the window as its close box would and waits for the process to end: Brumweld is
// single-instance, so the next start must not meet this one.
void CloseAndWait(PROCESS_INFORMATION& process, HWND window)
{
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, kStartTimeout) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        Fail("a window did not close");
    }
    CloseHandle(process.hProcess);
}

bool FileHasBytes(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) && (data.nFileSizeLow || data.nFileSizeHigh);
}

void WriteWholeFile(const std::string& path, const char* text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    bool whole = file != INVALID_HANDLE_VALUE && WriteFile(file, text, lstrlenA(text), &written, nullptr) &&
                 written == static_cast<DWORD>(lstrlenA(text));
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!whole) Fail("cannot write " + path);
}

FILE* OpenResults(const char* path)
{
    FILE* results = std::fopen(path, "w");
    if (!results) Fail(std::string("cannot write ") + path);
    return results;
}

struct StartSample {
    double milliseconds;
    SIZE_T peakWorkingSet;
};

StartSample MeasureStart(const std::string& folder, const char* program)
{
    const double begin = Now();
    PROCESS_INFORMATION process = Launch("\"" + folder + "\\" + program + "\"", folder, DETACHED_PROCESS);
    if (WaitForInputIdle(process.hProcess, kStartTimeout) != 0) Fail(std::string(program) + " never became idle");
    HWND window = nullptr;
    // Normally there already once the process is idle; otherwise seen within about a millisecond.
    while (!(window = drive::FindProcessWindow(process.dwProcessId, "#32770", nullptr))) {
        if (Now() - begin > kStartTimeout) Fail(std::string(program) + " showed no window");
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) Fail(std::string(program) + " ended at once");
    }
    StartSample sample = {Now() - begin, 0};

    Sleep(kSettleMilliseconds);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)) Fail("cannot read the memory counters");
    sample.peakWorkingSet = memory.PeakWorkingSetSize;
    CloseAndWait(process, window);
    return sample;
}

int Start(const std::string& folder, int pairs, const char* resultsPath)
{
    FILE* results = OpenResults(resultsPath);
    const std::string settingsFile = folder + "\\Brumweld.ini";
    for (int pair = -1; pair < pairs; ++pair) {
        // Brumweld saves its settings on close; each start must meet no settings file, as the bare program does.
        DeleteFileA(settingsFile.c_str());
        StartSample a = MeasureStart(folder, "Brumweld.exe");
        StartSample b = MeasureStart(folder, "bare-dialog.exe");
        if (pair < 0) continue;
        std::fprintf(results, "%.3f %.3f %lu %lu\n", a.milliseconds, b.milliseconds,
                     static_cast<unsigned long>(a.peakWorkingSet), static_cast<unsigned long>(b.peakWorkingSet));
        std::fflush(results);
    }
    DeleteFileA(settingsFile.c_str());
    std::fclose(results);
    return 0;
}

// Polled every 5 ms: a run's end is seen that soon, and the polling takes little from the encoder.
bool WaitRunEnabled(HWND window, bool enabled, DWORD milliseconds)
{
    const double begin = Now();
    for (;;) {
        if (drive::IsEnabled(window, IDC_RUN) == enabled) return true;
        if (!IsWindow(window) || Now() - begin > milliseconds) return false;
        Sleep(5);
    }
}

double RunInWindow(HWND window)
{
    const double begin = Now();
    drive::Click(window, IDC_RUN);
    if (!WaitRunEnabled(window, false, 10000)) Fail("Run did not make the window busy");
    if (!WaitRunEnabled(window, true, kRunTimeout)) Fail("the window did not become idle again");
    return Now() - begin;
}

double RunScript(const std::string& folder)
{
    const double begin = Now();
    // A console of its own, as the script gets when Brumweld, which has none, runs it.
    PROCESS_INFORMATION process = Launch("cmd /c ~enc.bat", folder, CREATE_NEW_CONSOLE);
    if (WaitForSingleObject(process.hProcess, kRunTimeout) != WAIT_OBJECT_0) Fail("cmd /c ~enc.bat did not end");
    const double milliseconds = Now() - begin;
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    if (code != 0) Fail("cmd /c ~enc.bat failed with " + std::to_string(code));
    return milliseconds;
}

int Convert(const std::string& folder, const std::string& clip, const std::string& output, int pairs,
            const char* resultsPath)
{
    FILE* results = OpenResults(resultsPath);
    // KeepBatch: every Run leaves its "~enc.bat" behind for cmd to run the same way.
    WriteWholeFile(folder + "\\Brumweld.ini", "[Brumweld]\r\nOptFlag=2\r\n");
    const std::string script = folder + "\\~enc.bat";
    DeleteFileA(script.c_str());

    PROCESS_INFORMATION brumweld =
        Launch("\"" + folder + "\\Brumweld.exe\" \"" + clip + "\"", folder, DETACHED_PROCESS);
    HWND window = drive::WaitForMainWindow(brumweld.dwProcessId, kStartTimeout);
    if (!window) Fail("Brumweld showed no window");
    drive::SetText(window, IDC_OUTPUT_FILE, output);

    for (int pair = -1; pair < pairs; ++pair) {
        DeleteFileA(output.c_str());
        const double a = RunInWindow(window);
        if (!FileHasBytes(script)) Fail("Run left no ~enc.bat behind");
        if (!FileHasBytes(output)) Fail("Run made no output file");
        DeleteFileA(output.c_str());
        const double b = RunScript(folder);
        if (!FileHasBytes(output)) Fail("cmd /c ~enc.bat made no output file");
        if (pair < 0) continue;
        std::fprintf(results, "%.3f %.3f\n", a, b);
        std::fflush(results);
    }
    CloseAndWait(brumweld, window);
    std::fclose(results);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::strcmp(argv[1], "start") == 0) {
        return Start(argv[2], std::atoi(argv[3]), argv[4]);
    }
    if (argc == 7 && std::strcmp(argv[1], "convert") == 0) {
        return Convert(argv[2], argv[3], argv[4], std::atoi(argv[5]), argv[6]);
    }
    std::fprintf(stderr,
                 "usage: bench start FOLDER PAIRS RESULTS\n"
                 "       bench convert FOLDER CLIP OUTPUT PAIRS RESULTS\n");
    return 2;
}
