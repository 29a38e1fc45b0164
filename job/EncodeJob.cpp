#include "job/EncodeJob.h"

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
#include <process.h>

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
    // Both under the guard: the window has gone, and how the run ended.
    bool closed = false;
    RunEnd end = NoRunEnd;
};

namespace {

void ReleaseRun(RunRecord* record)
{
    if (record && InterlockedDecrement(&record->holders) == 0) delete record;
}

// One run, owned by its worker: its record, the window, the settings, the folder the script runs
// in, the job's token, and the output as it was at Run.
struct JobRun {
    ~JobRun() { ReleaseRun(record); }
    RunRecord* record = nullptr;
    JobWindow* window;
    EncodeSettings* settings;
    WideText folder;
    WideText script;
    ScopedHandle token;
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

// Where cmd, looking for the encoder by its bare name, stops in one folder of its search.
enum EncoderFound { EncoderNotHere, EncoderRunnable, EncoderNotRunnable };

EncoderFound LookForEncoder(const wchar_t* folder, const wchar_t* programFolder, const WideText& name)
{
    WideText full;
    if (!*folder || !FullNameIn(folder, programFolder, full)) return EncoderNotHere;
    WideText place(full.Length() + name.Length() + 1);
    place.Assign(full.Data());
    if (place.Data()[place.Length() - 1] != L'\\') lstrcatW(place.Data(), L"\\");
    lstrcatW(place.Data(), name.Data());
    DWORD attributes = GetFileAttributesW(place.Data());
    if (attributes == INVALID_FILE_ATTRIBUTES) return EncoderNotHere;
    // A folder of that name, an empty file or any other that is no program ends the search too.
    DWORD kind;
    bool program = !(attributes & FILE_ATTRIBUTE_DIRECTORY) && GetBinaryTypeW(place.Data(), &kind);
    return program ? EncoderRunnable : EncoderNotRunnable;
}

// A name for this program folder's job, the same in every process: a 64-bit FNV-1a hash of the
// folder as the program names it, in capitals, since kernel object names take no backslash.
void JobTokenName(const wchar_t* folder, WideText& name)
{
    unsigned long long hash = 14695981039346656037ull;
    for (const wchar_t* p = folder; *p; ++p) {
        hash = (hash ^ reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<wchar_t*>(*p)))) * 1099511628211ull;
    }
    name.Reserve(40);
    wsprintfW(name.Data(), L"Brumweld job %08lX%08lX", static_cast<DWORD>(hash >> 32), static_cast<DWORD>(hash));
}

// cmd, by its full name and without AutoRun (/d), runs the script by its full name in the
// program folder, in a console of its own that takes nothing of this program's start. It gets
// the job's token before it runs and holds it to its end, which comes after the encoder's and
// after the key that "pause" waits for. Not inheritable: Wine's console host, which cmd starts,
// would keep it after cmd.
bool RunScript(const JobRun& run)
{
    wchar_t system[MAX_PATH];
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH - 8) return false;
    lstrcatW(system, L"\\cmd.exe");
    // Joined by hand: wsprintfW stops at 1,024 characters, and the script's name may be longer.
    WideText line(lstrlenW(system) + run.script.Length() + 20);
    lstrcpyW(line.Data(), L"\"");
    lstrcatW(line.Data(), system);
    lstrcatW(line.Data(), L"\" /d /s /c \"\"");
    lstrcatW(line.Data(), run.script.Data());
    lstrcatW(line.Data(), L"\"\"");
    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessW(system, line.Data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | CREATE_SUSPENDED, nullptr,
                        run.folder.Data(), &startup, &process)) {
        return false;
    }
    ScopedHandle thread(process.hThread), cmd(process.hProcess);
    HANDLE held;
    DuplicateHandle(GetCurrentProcess(), run.token.Get(), cmd.Get(), &held, 0, FALSE, DUPLICATE_SAME_ACCESS);
    ResumeThread(thread.Get());
    WaitForSingleObject(cmd.Get(), INFINITE);
    return true;
}

void DeleteProgramFile(const char* name)
{
    TextBuffer path(511);
    if (GetProgramFile(name, path)) DeleteFileA(path.Data());
}

// Opens the output in the player; false when nothing could be started. A folder is no player:
// the shell would open it in Explorer.
bool StartPlayer(const WideText& player, const WideText& output)
{
    DWORD attributes = GetFileAttributesW(player.Data());
    if (player.IsEmpty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    // Quoted, so a path with spaces reaches the player as one argument.
    WideText parameters(output.Length() + 2);
    lstrcpyW(parameters.Data(), L"\"");
    lstrcatW(parameters.Data(), output.Data());
    lstrcatW(parameters.Data(), L"\"");
    auto open = SystemEntry<HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT)>("shell32.dll", "ShellExecuteW");
    return open && reinterpret_cast<INT_PTR>(open(nullptr, L"open", player.Data(), parameters.Data(), nullptr, SW_SHOWNORMAL)) > 32;
}

// The steps after a run: temporary files removed, the player started on what the run made, and
// the end recorded for the window, which leaves its busy state and says what went wrong.
// The lock is held only to copy what the end needs and to record it: the window's thread takes
// it too, and must not wait for the files or the player.
void FinishJob(const JobRun& run)
{
    unsigned short options;
    WideText player;
    {
        JobSettingsLock lock;
        if (run.record->closed) return;
        options = run.settings->OptFlag;
        FromCodePage(run.settings->Player.Data(), CP_ACP, player);
    }
    if (!(options & KeepBatch)) DeleteProgramFile(kScriptName);
    DeleteProgramFile(kPassLogName);
    RunEnd end = !(options & PlayAfter) ? RunEnded
                 : !OutputMade(run)      ? NothingToPlay
                 : StartPlayer(player, run.output) ? RunEnded
                                                   : PlayerNotStarted;
    JobSettingsLock lock;
    if (run.record->closed) return;
    run.record->end = end;
    run.window->PostRunEnd();
}

unsigned __stdcall JobWorker(void* argument)
{
    JobRun* run = static_cast<JobRun*>(argument);
    RunScript(*run);
    // The job has ended here; the player, started next, must not hold its token.
    run->token.Close();
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

RunEnd JobRuns::TakeEnd()
{
    JobSettingsLock lock;
    if (!latest) return NoRunEnd;
    RunEnd end = latest->end;
    latest->end = NoRunEnd;
    return end;
}

RunRecord* JobRuns::Begin()
{
    ReleaseRun(latest);
    latest = new RunRecord();
    return latest;
}

bool EncoderReachable(const wchar_t* programFolder)
{
    DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    WideText path(static_cast<int>(size));
    if (size == 0 || GetEnvironmentVariableW(L"PATH", path.Data(), path.BufferSize()) == 0) path.Assign(L"");
    WideText encoder;
    FromCodePage(kEncoderName, CP_ACP, encoder);
    // cmd looks in the folder the script runs in, then in each folder of the PATH; the first
    // match decides. Quotes group an entry (a ';' inside is part of it) and are dropped.
    WideText folder;
    folder.Assign(programFolder);
    folder.AddRootBackslash();
    EncoderFound found = LookForEncoder(folder.Data(), folder.Data(), encoder);
    WideText entry(path.Length());
    for (const wchar_t* p = path.Data(); found == EncoderNotHere && *p;) {
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
        found = LookForEncoder(entry.Data(), folder.Data(), encoder);
    }
    return found == EncoderRunnable;
}

bool WriteBatchScript(const TextBuffer& script)
{
    TextBuffer path(511);
    TextFileWriter file;
    if (!GetProgramFile(kScriptName, path) || !file.Open(path.Data())) return false;
    file.WriteString(script.Data());
    bool whole = file.Whole();
    if (!file.Close()) whole = false;
    if (!whole) DeleteFileA(path.Data());
    return whole;
}

JobStart StartJob(JobWindow& window, JobRuns& runs, EncodeSettings& settings, const TextBuffer& script,
                  const WideText& output)
{
    TextBuffer written, scriptName;
    if (!GetWrittenProgramFolder(written) || !GetProgramFile(kScriptName, scriptName)) return ScriptNotRun;
    std::unique_ptr<JobRun> run(new JobRun());
    FromCodePage(written.Data(), CP_ACP, run->folder);
    run->folder.AddRootBackslash();
    FromCodePage(scriptName.Data(), CP_ACP, run->script);
    // Held by this run, then by its cmd and the encoder for as long as they run, past this
    // program's end: a later start's Run sees it and leaves the running script alone.
    WideText name;
    JobTokenName(run->folder.Data(), name);
    run->token.Reset(CreateEventW(nullptr, TRUE, FALSE, name.Data()));
    if (!run->token.IsValid()) return ScriptNotRun;
    if (GetLastError() == ERROR_ALREADY_EXISTS) return EarlierJobRunning;
    run->window = &window;
    run->settings = &settings;
    run->output.Assign(output.Data());
    Describe(run->output.Data(), run->outputAtRun);
    // A script that is not whole is never run: an older kept script or a line cut in the
    // middle would encode the wrong thing. Nothing else is touched: the pass log may be
    // another job's.
    if (!WriteBatchScript(script)) return ScriptNotRun;
    // A link whose target did not exist at Run may name the script now there: the encoder
    // would write over the script cmd is reading.
    if (IsSameExistingFile(run->output.Data(), run->script.Data())) {
        DeleteProgramFile(kScriptName);
        return OutputIsTheScript;
    }
    run->record = runs.Begin();
    window.EnableCommands(false);
    ScopedHandle thread(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, JobWorker, run.get(), 0, nullptr)));
    if (!thread.IsValid()) {
        // Nothing will run the script: it goes, kept or not, and the window is idle again.
        run.reset();
        DeleteProgramFile(kScriptName);
        window.EnableCommands(true);
        return ScriptNotRun;
    }
    run.release();
    return JobStarted;
}
