#pragma once

#include "job/Cmd.h"

#include <windows.h>

class JobRuns;
class JobWindow;
class TextBuffer;
class WideText;
struct EncodeSettings;

// The batch script, beside the executable.
extern const char kScriptName[];

// What became of a Run.
enum JobStart {
    JobStarted,
    // The script could not be written: nothing ran and nothing was removed but the script this
    // run wrote.
    ScriptNotRun,
    // Windows refused to start cmd, or to hand it the script's hold: nothing ran, and the script
    // is gone again, kept or not.
    CmdNotStarted,
    // A job of this program folder still runs, started by whatever name of the folder, in
    // whatever session or on whatever machine: its script is left alone.
    EarlierJobRunning,
    // The output opens the script just written (a link to where it would be): it is removed again.
    OutputIsTheScript,
};

// One encoding run: the script "~enc.bat", as built, is written beside the executable, the
// window goes busy, and a worker thread runs the script, waits, cleans up and leaves the busy
// state. The run's cmd, and only it, holds the script to its end: no other start, by whatever
// name of the folder, writes one here meanwhile. Called on the user-interface thread once the settings hold the controls; output is the
// run's output by its full name in the user's own spelling, what the player opens. The window
// stays idle unless the job started; error is the system's reason where Windows refused.
JobStart StartJob(JobWindow& window, JobRuns& runs, EncodeSettings& settings, const TextBuffer& script,
                  const WideText& output, DWORD& error);

// Writes the script; true only when it was created and every byte of it reached the file, else
// false with the system's reason as GetLastError gives it. A script that came out short is removed.
bool WriteBatchScript(const TextBuffer& script);

// How a run ended, for its window: ConversionFailed, cmd ended with a code other than 0;
// NothingToPlay, the output was not made; PlayerNotStarted, the player could not be started.
enum RunEnd { NoRunEnd, RunEnded, ConversionFailed, NothingToPlay, PlayerNotStarted };


// Guards the settings fields that a worker reads at the end of a run (OptFlag, Player), and the
// runs' records, against the user-interface thread changing or releasing them at the same moment.
class JobSettingsLock {
public:
    JobSettingsLock();
    ~JobSettingsLock();
    JobSettingsLock(const JobSettingsLock&) = delete;
    JobSettingsLock& operator=(const JobSettingsLock&) = delete;
};

struct RunRecord;

// A window's hold on its runs. Each run gets a record of its own, shared with its worker, so a
// worker only ever reaches the window it was started for, and only until that window closes.
class JobRuns {
public:
    explicit JobRuns(ProcessStarter start = CreateProcessW) : start(start) {}
    ~JobRuns();
    JobRuns(const JobRuns&) = delete;
    JobRuns& operator=(const JobRuns&) = delete;

    // Called when the window goes, before its settings are saved and released: a worker that
    // finishes later touches neither the window, the settings nor the files of its run.
    void Close();
    // How the latest run ended, taken once, with cmd's exit code for a failed conversion: only the
    // end of a run the window started ends its busy state.
    RunEnd TakeEnd(DWORD* exitCode = nullptr);
    // True once the latest run's worker has let go of its record, its last step: a check that
    // something did not happen at a run's end waits for this.
    bool WorkerDone() const;

private:
    friend JobStart StartJob(JobWindow&, JobRuns&, EncodeSettings&, const TextBuffer&, const WideText&, DWORD&);
    // A new run's record, held by this window and by the run's worker; the earlier one is let go.
    RunRecord* Begin();

    ProcessStarter start;
    RunRecord* latest = nullptr;
};
