#include "job/EncodeJob.h"

#include "job/Cmd.h"
#include "job/EncodeSettings.h"
#include "job/EncoderCommand.h"
#include "job/JobWindow.h"
#include "support/CodePage.h"
#include "support/FileIdentity.h"
#include "support/ProgramFolder.h"
#include "support/ScopedHandle.h"
#include "support/SystemEntry.h"
#include "support/TextBuffer.h"
#include "support/TextFileWriter.h"
#include "support/WideText.h"

#include <windows.h>
#include <objbase.h>
#include <process.h>
#include <shellapi.h>

#include <memory>

const char kScriptName[] = "~enc.bat";

namespace {

// Made before the program's entry, while only one thread exists, and never destroyed:
// a worker may still take it while the process is exiting.
CRITICAL_SECTION settingsGuard;
[[maybe_unused]] const bool settingsGuardReady = (InitializeCriticalSection(&settingsGuard), true);

}  // namespace

// What a window and the worker of one of its runs share; the last of the two to let go frees it.
struct RunRecord {
    LONG holders = 2;
    // All under the guard: the window has gone, how the run ended, and cmd's exit code.
    bool closed = false;
    RunEnd end = NoRunEnd;
    DWORD exitCode = 0;
};

namespace {

void ReleaseRun(RunRecord* record)
{
    if (record && InterlockedDecrement(&record->holders) == 0) delete record;
}

// One run, owned by its worker: its record, the window, the settings, cmd, the hold on the
// script, and the output as it was at Run.
struct JobRun {
    ~JobRun() { ReleaseRun(record); }
    RunRecord* record = nullptr;
    JobWindow* window;
    EncodeSettings* settings;
    ScopedHandle cmd;
    // The script, open for reading with only reading shared. cmd holds a copy of it to its end:
    // while it is open, no start of the program, by whatever name of this folder, in whatever
    // session or on whatever machine, can write a script here.
    ScopedHandle script;
    WideText output;
    // The output as it was at Run: zeros where there was none.
    WIN32_FILE_ATTRIBUTE_DATA outputAtRun;
};

void Describe(const wchar_t* name, WIN32_FILE_ATTRIBUTE_DATA& data)
{
    if (!GetFileAttributesExW(name, GetFileExInfoStandard, &data)) ZeroMemory(&data, sizeof data);
}

// The run wrote its output: a file that holds something, new or changed since Run. It is
// compared only with itself: a file server's clock need not agree with this machine's.
bool OutputMade(const JobRun& run)
{
    WIN32_FILE_ATTRIBUTE_DATA now;
    Describe(run.output.Data(), now);
    const WIN32_FILE_ATTRIBUTE_DATA& before = run.outputAtRun;
    bool holds = !(now.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (now.nFileSizeHigh | now.nFileSizeLow) != 0;
    return holds && (now.nFileSizeHigh != before.nFileSizeHigh || now.nFileSizeLow != before.nFileSizeLow ||
                     CompareFileTime(&now.ftLastWriteTime, &before.ftLastWriteTime) != 0);
}

// cmd for the script, suspended until its worker waits for it, its code page the OEM one the
// script's names are written in. It gets the script's hold before it runs: not inheritable, since
// Wine's console host, which cmd starts, would keep it after cmd.
bool StartJobCmd(JobRun& run, const wchar_t* folder, ProcessStarter start, ScopedHandle& thread)
{
    PROCESS_INFORMATION process;
    if (!StartCmd(folder, GetOEMCP(), start, process)) return false;
    thread.Reset(process.hThread);
    run.cmd.Reset(process.hProcess);
    HANDLE held;
    if (DuplicateHandle(GetCurrentProcess(), run.script.Get(), run.cmd.Get(), &held, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        return true;
    }
    DWORD error = GetLastError();
    TerminateProcess(run.cmd.Get(), 1);
    WaitForSingleObject(run.cmd.Get(), 5000);
    SetLastError(error);
    return false;
}

// Writes the script and takes the hold on it. Another start may write between the two, so the
// bytes held are read back: only the script this run wrote is run.
JobStart HoldScript(const TextBuffer& script, const char* path, ScopedHandle& held, DWORD& error)
{
    bool written = WriteBatchScript(script);
    if (written) held.Reset(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!held.IsValid()) {
        error = GetLastError();
        return error == ERROR_SHARING_VIOLATION ? EarlierJobRunning : ScriptNotRun;
    }
    int length = script.Length();
    TextBuffer back(length + 1);
    DWORD read = 0;
    bool same = ReadFile(held.Get(), back.Data(), length + 1, &read, nullptr) && read == static_cast<DWORD>(length);
    for (int i = 0; same && i < length; ++i) same = back.Data()[i] == script.Data()[i];
    return same ? JobStarted : EarlierJobRunning;
}

void DeleteProgramFile(const char* name)
{
    TextBuffer path(511);
    if (GetProgramFile(name, path)) DeleteFileA(path.Data());
}

// Removes one of the run's own files, unless a link made before Run has made it the output.
void DeleteRunFile(const JobRun& run, const char* name)
{
    TextBuffer path(511);
    WideText file;
    if (!GetProgramFile(name, path)) return;
    FromCodePage(path.Data(), CP_ACP, file);
    if (!IsSameExistingFile(run.output.Data(), file.Data())) DeleteFileA(path.Data());
}

// Opens the output in the player; false when nothing could be started. A folder is no player:
// the shell would open it in Explorer. The shell asks for COM on the calling thread, and for
// SEE_MASK_NOASYNC from a thread that ends right after the call.
bool StartPlayer(const WideText& player, const WideText& output)
{
    DWORD attributes = GetFileAttributesW(player.Data());
    if (player.IsEmpty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    // Quoted, so a path with spaces reaches the player as one argument.
    WideText parameters;
    parameters.Assign(L"\"");
    parameters.Append(output.Data());
    parameters.Append(L"\"");
    auto initialize = SystemEntry<HRESULT(WINAPI*)(LPVOID, DWORD)>("ole32.dll", "CoInitializeEx");
    auto uninitialize = SystemEntry<void(WINAPI*)()>("ole32.dll", "CoUninitialize");
    auto execute = SystemEntry<BOOL(WINAPI*)(SHELLEXECUTEINFOW*)>("shell32.dll", "ShellExecuteExW");
    HRESULT com = initialize ? initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE) : E_FAIL;
    SHELLEXECUTEINFOW start;
    ZeroMemory(&start, sizeof start);
    start.cbSize = sizeof start;
    // The window says itself when the player did not start.
    start.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    start.lpVerb = L"open";
    start.lpFile = player.Data();
    start.lpParameters = parameters.Data();
    start.nShow = SW_SHOWNORMAL;
    bool started = execute && execute(&start);
    if (SUCCEEDED(com) && uninitialize) uninitialize();
    return started;
}

// The steps after a run: temporary files removed, the player started on what a run that did not
// fail made, and the end recorded for the window, which leaves its busy state and says what went
// wrong. The lock is held only to copy what the end needs and to record it: the window's thread
// takes it too, and must not wait for the files or the player.
void FinishJob(const JobRun& run, DWORD exitCode)
{
    unsigned short options;
    WideText player;
    {
        JobSettingsLock lock;
        if (run.record->closed) return;
        options = run.settings->OptFlag;
        FromCodePage(run.settings->Player.Data(), CP_ACP, player);
    }
    if (!(options & KeepBatch)) DeleteRunFile(run, kScriptName);
    DeleteRunFile(run, kPassLogName);
    bool made = OutputMade(run);
    // A console its user closes ends cmd so, also at the final pause after a whole conversion.
    bool failed = exitCode != 0 && !(exitCode == STATUS_CONTROL_C_EXIT && made);
    RunEnd end = failed                     ? ConversionFailed
                 : !(options & PlayAfter)   ? RunEnded
                 : !made                    ? NothingToPlay
                 : StartPlayer(player, run.output) ? RunEnded
                                                   : PlayerNotStarted;
    JobSettingsLock lock;
    if (run.record->closed) return;
    run.record->end = end;
    run.record->exitCode = exitCode;
    run.window->PostRunEnd();
}

unsigned __stdcall JobWorker(void* argument)
{
    JobRun* run = static_cast<JobRun*>(argument);
    WaitForSingleObject(run->cmd.Get(), INFINITE);
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(run->cmd.Get(), &exitCode)) exitCode = 0;
    // The job has ended here; the player, started next, must not hold the script.
    run->script.Close();
    FinishJob(*run, exitCode);
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

JobRuns::~JobRuns()
{
    Close();
    ReleaseRun(latest);
}

void JobRuns::Close()
{
    JobSettingsLock lock;
    if (latest) latest->closed = true;
}

RunEnd JobRuns::TakeEnd(DWORD* exitCode)
{
    JobSettingsLock lock;
    if (!latest) return NoRunEnd;
    RunEnd end = latest->end;
    latest->end = NoRunEnd;
    if (exitCode) *exitCode = latest->exitCode;
    return end;
}

bool JobRuns::WorkerDone() const
{
    return !latest || InterlockedCompareExchange(&latest->holders, 0, 0) == 1;
}

RunRecord* JobRuns::Begin()
{
    ReleaseRun(latest);
    latest = new RunRecord();
    return latest;
}

bool WriteBatchScript(const TextBuffer& script)
{
    TextBuffer path(511);
    TextFileWriter file;
    if (!GetProgramFile(kScriptName, path) || !file.Open(path.Data())) return false;
    file.WriteString(script.Data());
    if (file.Whole() && file.Close()) return true;
    DWORD error = GetLastError();
    file.Close();
    DeleteFileA(path.Data());
    SetLastError(error);
    return false;
}

JobStart StartJob(JobWindow& window, JobRuns& runs, EncodeSettings& settings, const TextBuffer& script,
                  const WideText& output, DWORD& error)
{
    error = 0;
    TextBuffer written, scriptName;
    if (!GetWrittenProgramFolder(written) || !GetProgramFile(kScriptName, scriptName)) return ScriptNotRun;
    std::unique_ptr<JobRun> run(new JobRun());
    WideText folder, scriptFile;
    FromCodePage(written.Data(), CP_ACP, folder);
    folder.AddRootBackslash();
    FromCodePage(scriptName.Data(), CP_ACP, scriptFile);
    run->window = &window;
    run->settings = &settings;
    run->output.Assign(output.Data());
    Describe(run->output.Data(), run->outputAtRun);
    // A script that is not whole is never run: an older kept script or a line cut in the
    // middle would encode the wrong thing. Nothing else is touched: the pass log may be another job's.
    JobStart held = HoldScript(script, scriptName.Data(), run->script, error);
    if (held != JobStarted) return held;
    // A link whose target did not exist at Run may name the script now there: the encoder
    // would write over the script cmd is reading.
    JobStart refused = IsSameExistingFile(run->output.Data(), scriptFile.Data()) ? OutputIsTheScript : JobStarted;
    ScopedHandle thread;
    if (refused == JobStarted && !StartJobCmd(*run, folder.Data(), runs.start, thread)) {
        error = GetLastError();
        refused = CmdNotStarted;
    }
    if (refused != JobStarted) {
        run.reset();
        DeleteProgramFile(kScriptName);
        return refused;
    }
    run->record = runs.Begin();
    window.EnableCommands(false);
    HANDLE cmd = run->cmd.Get();
    ScopedHandle worker(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, JobWorker, run.get(), 0, nullptr)));
    if (!worker.IsValid()) {
        // Nothing would wait for cmd: it goes with the script, kept or not, and the window is idle again.
        error = GetLastError();
        TerminateProcess(cmd, 1);
        WaitForSingleObject(cmd, 5000);
        run.reset();
        DeleteProgramFile(kScriptName);
        window.EnableCommands(true);
        return CmdNotStarted;
    }
    run.release();
    // Let go only once its worker waits: a cmd left suspended would hold the script for ever.
    ResumeThread(thread.Get());
    return JobStarted;
}
