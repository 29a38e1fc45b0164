#include "job/EncodeJob.h"

#include "job/EncodeSettings.h"
#include "job/EncoderCommand.h"
#include "job/JobWindow.h"
#include "support/SystemEntry.h"
#include "support/TextBuffer.h"
#include "support/TextFileWriter.h"

#include <windows.h>
#include <process.h>

namespace {

const char kScriptName[] = "~enc.bat";

// Made before the program's entry, while only one thread exists, and never destroyed:
// a worker may still take it while the process is exiting.
CRITICAL_SECTION settingsGuard;
[[maybe_unused]] const bool settingsGuardReady = (InitializeCriticalSection(&settingsGuard), true);

bool jobsClosed = false;

struct JobRun {
    JobWindow* window;
    EncodeSettings* settings;
};

unsigned __stdcall JobWorker(void* argument)
{
    JobRun run = *static_cast<JobRun*>(argument);
    delete static_cast<JobRun*>(argument);
    GoToProgramFolder();
    RunProcess(kScriptName, true);
    FinishJob(*run.window, *run.settings);
    return 0;
}

void DeleteProgramFile(const char* name)
{
    TextBuffer path(511);
    if (path.SetToProgramPath(name)) DeleteFileA(path.Data());
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

bool WriteBatchScript(JobWindow& window, const EncodeSettings& settings)
{
    TextBuffer path(511);
    TextFileWriter script;
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

void StartJob(JobWindow& window, EncodeSettings& settings)
{
    bool written = WriteBatchScript(window, settings);
    window.EnableCommands(false);
    // A script that is not whole is never run: an older kept script or a line cut
    // in the middle would encode the wrong thing.
    if (!written) {
        FinishJob(window, settings);
        return;
    }
    auto* run = new JobRun{&window, &settings};
    uintptr_t thread = _beginthreadex(nullptr, 0, JobWorker, run, 0, nullptr);
    if (thread == 0) {
        // Nothing will run the script: it goes, kept or not, and the window is idle again.
        delete run;
        DeleteProgramFile(kScriptName);
        FinishJob(window, settings);
        return;
    }
    CloseHandle(reinterpret_cast<HANDLE>(thread));
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

void FinishJob(JobWindow& window, EncodeSettings& settings)
{
    unsigned short options;
    TextBuffer player(511), output(511);
    {
        JobSettingsLock lock;
        if (jobsClosed) return;
        options = settings.OptFlag;
        player.Assign(settings.Player.Data());
    }
    // Read before the window is idle again: the next Run names its own files.
    window.GetOutputFile(output);
    if (!(options & KeepBatch)) DeleteProgramFile(kScriptName);
    DeleteProgramFile(kPassLogName);
    window.EnableCommands(true);

    if (!(options & PlayAfter) || player.IsEmpty()) return;
    // Quoted, so a path with spaces reaches the player as one argument; no name, no argument.
    TextBuffer parameters(511);
    if (!output.IsEmpty()) {
        parameters.Assign("\"");
        parameters.Append(output.Data());
        parameters.Append("\"");
    }
    auto open = SystemEntry<HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT)>("shell32.dll", "ShellExecuteA");
    if (open) open(nullptr, "open", player.Data(), parameters.Data(), nullptr, SW_SHOWNORMAL);
}
