#include "job/EncodeJob.h"

#include "job/EncodeSettings.h"
#include "job/EncoderCommand.h"
#include "job/JobWindow.h"
#include "support/CodePage.h"
#include "support/ProgramFolder.h"
#include "support/SystemEntry.h"
#include "support/TextBuffer.h"
#include "support/TextFileWriter.h"
#include "support/WideText.h"

#include <windows.h>
#include <process.h>

const char kScriptName[] = "~enc.bat";

namespace {

// Made before the program's entry, while only one thread exists, and never destroyed:
// a worker may still take it while the process is exiting.
CRITICAL_SECTION settingsGuard;
[[maybe_unused]] const bool settingsGuardReady = (InitializeCriticalSection(&settingsGuard), true);

// Both under the guard.
bool jobsClosed = false;
RunEnd runEnd = NoRunEnd;

// A file system may keep write times to two seconds only.
const ULONGLONG kWriteTimeStep = 2 * 10000000ULL;

// One run, owned by its worker: the window, the settings, and the output as it was at Run.
struct JobRun {
    JobWindow* window;
    EncodeSettings* settings;
    WideText output;
    FILETIME started;
    bool outputExisted;
    FILETIME outputWritten;
};

ULONGLONG Ticks(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The last write of a file that holds something; false for none, a folder or an empty file.
bool LastWrite(const wchar_t* name, FILETIME& written)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(name, GetFileExInfoStandard, &data)) return false;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (data.nFileSizeHigh == 0 && data.nFileSizeLow == 0)) {
        return false;
    }
    written = data.ftLastWriteTime;
    return true;
}

// The run wrote its output: it holds something, written since Run and not the older file left there.
bool OutputMade(const JobRun& run)
{
    FILETIME written;
    if (!LastWrite(run.output.Data(), written)) return false;
    if (run.outputExisted && CompareFileTime(&written, &run.outputWritten) == 0) return false;
    return Ticks(written) + kWriteTimeStep >= Ticks(run.started);
}

// The folder (its first length characters, quotes dropped) holds a file of that name.
bool HoldsProgram(const wchar_t* folder, int length, const WideText& name)
{
    WideText place(length + name.Length() + 1);
    int kept = 0;
    for (int i = 0; i < length; ++i) {
        if (folder[i] != L'"') place.Data()[kept++] = folder[i];
    }
    if (kept == 0) return false;
    place.Data()[kept] = L'\0';
    if (place.Data()[kept - 1] != L'\\') lstrcatW(place.Data(), L"\\");
    lstrcatW(place.Data(), name.Data());
    DWORD attributes = GetFileAttributesW(place.Data());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void DeleteProgramFile(const char* name)
{
    TextBuffer path(511);
    if (path.SetToProgramPath(name)) DeleteFileA(path.Data());
}

// The steps after a run: temporary files removed, the end recorded for the window, which
// leaves its busy state, and the player started on what the run made.
void FinishJob(const JobRun& run)
{
    bool play, made;
    WideText player;
    {
        JobSettingsLock lock;
        if (jobsClosed) return;
        unsigned short options = run.settings->OptFlag;
        FromCodePage(run.settings->Player.Data(), CP_ACP, player);
        if (!(options & KeepBatch)) DeleteProgramFile(kScriptName);
        DeleteProgramFile(kPassLogName);
        play = (options & PlayAfter) != 0;
        made = OutputMade(run);
        runEnd = play && !made ? RunEndedWithoutOutput : RunEnded;
        run.window->EnableCommands(true);
    }
    if (!play || !made || player.IsEmpty()) return;
    // Quoted, so a path with spaces reaches the player as one argument.
    WideText parameters(run.output.Length() + 2);
    lstrcpyW(parameters.Data(), L"\"");
    lstrcatW(parameters.Data(), run.output.Data());
    lstrcatW(parameters.Data(), L"\"");
    auto open = SystemEntry<HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT)>("shell32.dll", "ShellExecuteW");
    if (open) open(nullptr, L"open", player.Data(), parameters.Data(), nullptr, SW_SHOWNORMAL);
}

unsigned __stdcall JobWorker(void* argument)
{
    JobRun* run = static_cast<JobRun*>(argument);
    // Run only from the program folder: elsewhere "~enc.bat" is some other script.
    if (GoToProgramFolder()) RunProcess(kScriptName, true);
    FinishJob(*run);
    delete run;
    return 0;
}

}  // namespace

JobSettingsLock::JobSettingsLock()
{
    EnterCriticalSection(&settingsGuard);
}

JobSettingsLock::~JobSettingsLock()
{
    LeaveCriticalSection(&settingsGuard);
}

void OpenJobs()
{
    JobSettingsLock lock;
    jobsClosed = false;
}

void CloseJobs()
{
    JobSettingsLock lock;
    jobsClosed = true;
}

RunEnd TakeRunEnd()
{
    JobSettingsLock lock;
    RunEnd end = runEnd;
    runEnd = NoRunEnd;
    return end;
}

bool EncoderReachable(const wchar_t* programFolder)
{
    WideText encoder;
    FromCodePage(kEncoderName, CP_ACP, encoder);
    // The script's own folder first, then each folder of the PATH, as cmd looks.
    if (HoldsProgram(programFolder, lstrlenW(programFolder), encoder)) return true;
    DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    WideText path(static_cast<int>(size));
    if (size == 0 || GetEnvironmentVariableW(L"PATH", path.Data(), path.BufferSize()) == 0) return false;
    for (const wchar_t* entry = path.Data(); *entry;) {
        int length = 0;
        while (entry[length] && entry[length] != L';') ++length;
        if (HoldsProgram(entry, length, encoder)) return true;
        entry += length;
        if (*entry) ++entry;
    }
    return false;
}

bool ScriptLinesFit(JobWindow& window, const EncodeSettings& settings)
{
    TextBuffer line(1023);
    bool twoPass = settings.mode == TwoPass;
    MakeEncoderCommand(line, twoPass ? FirstPass : SinglePass, settings, window);
    if (line.Length() > kLongestScriptLine) return false;
    if (!twoPass) return true;
    MakeEncoderCommand(line, SecondPass, settings, window);
    return line.Length() <= kLongestScriptLine;
}

bool WriteBatchScript(JobWindow& window, const EncodeSettings& settings)
{
    TextBuffer path(511);
    TextFileWriter script;
    if (!ScriptLinesFit(window, settings)) return false;
    if (!path.SetToProgramPath(kScriptName) || !script.Open(path.Data())) return false;
    script.WriteString("@echo off\r\n\r\n");
    if (settings.mode == TwoPass) {
        WriteEncoderCommand(script, FirstPass, settings, window);
        script.WriteString("\r\n\r\n");
        WriteEncoderCommand(script, SecondPass, settings, window);
    } else {
        WriteEncoderCommand(script, SinglePass, settings, window);
    }
    if (settings.Has(WaitForKey)) script.WriteString("echo.\r\necho ================\r\npause");
    bool whole = script.Whole();
    if (!script.Close()) whole = false;
    if (!whole) DeleteFileA(path.Data());
    return whole;
}

JobStart StartJob(JobWindow& window, EncodeSettings& settings)
{
    if (!ScriptLinesFit(window, settings)) return ScriptLineTooLong;
    auto* run = new JobRun();
    run->window = &window;
    run->settings = &settings;
    window.GetOutputFullName(run->output);
    GetSystemTimeAsFileTime(&run->started);
    run->outputExisted = LastWrite(run->output.Data(), run->outputWritten);
    // A script that is not whole is never run: an older kept script or a line cut in the
    // middle would encode the wrong thing. Nothing else is touched: the pass log may be
    // another job's.
    if (!WriteBatchScript(window, settings)) {
        delete run;
        return ScriptNotRun;
    }
    {
        JobSettingsLock lock;
        runEnd = NoRunEnd;
    }
    window.EnableCommands(false);
    uintptr_t thread = _beginthreadex(nullptr, 0, JobWorker, run, 0, nullptr);
    if (thread == 0) {
        // Nothing will run the script: it goes, kept or not, and the window is idle again.
        delete run;
        DeleteProgramFile(kScriptName);
        window.EnableCommands(true);
        return ScriptNotRun;
    }
    CloseHandle(reinterpret_cast<HANDLE>(thread));
    return JobStarted;
}

bool RunProcess(const char* commandLine, bool wait)
{
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof process);

    // CreateProcessA may write into the command line.
    TextBuffer line;
    line.Assign(commandLine);
    if (!CreateProcessA(nullptr, line.Data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    if (wait) WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    return true;
}
