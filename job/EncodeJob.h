#pragma once

class JobWindow;
struct EncodeSettings;

// The batch script, beside the executable.
extern const char kScriptName[];

// What became of a Run.
enum JobStart {
    JobStarted,
    // A line would be longer than cmd reads: nothing is written.
    ScriptLineTooLong,
    // The script could not be written, or nothing could run it: nothing ran and nothing was removed
    // but the script this run wrote.
    ScriptNotRun,
    // A job of this program folder, from an earlier start, still runs: nothing is written.
    EarlierJobRunning,
    // The output opens the script just written (a link to where it would be): it is removed again.
    OutputIsTheScript,
};

// One encoding run: the script "~enc.bat" is written beside the executable, the window
// goes busy, and a worker thread runs the script, waits, cleans up and leaves the busy
// state. Called on the user-interface thread once the settings hold the controls; the
// window stays idle unless the job started.
JobStart StartJob(JobWindow& window, EncodeSettings& settings);

// True when every line of the run's script is one that cmd reads whole.
bool ScriptLinesFit(JobWindow& window, const EncodeSettings& settings);

// Writes the script; true only when it was created and every byte of it reached the file.
// A script that came out short is removed; one whose lines do not fit is never made.
bool WriteBatchScript(JobWindow& window, const EncodeSettings& settings);

// True when cmd, running the script in the program folder, finds the encoder there or on the
// PATH and can run it.
bool EncoderReachable(const wchar_t* programFolder);

// How the last run ended, for the window's thread; taken once, so only the end of a run the
// window started ends its busy state.
// RunEndedWithoutOutput: nothing to play; PlayerNotStarted: the player could not be started.
enum RunEnd { NoRunEnd, RunEnded, RunEndedWithoutOutput, PlayerNotStarted };
RunEnd TakeRunEnd();

// Guards the settings fields that a worker reads at the end of a run (OptFlag, Player)
// against the user-interface thread changing or releasing them at the same moment.
class JobSettingsLock {
public:
    JobSettingsLock();
    ~JobSettingsLock();
    JobSettingsLock(const JobSettingsLock&) = delete;
    JobSettingsLock& operator=(const JobSettingsLock&) = delete;
};

// Called when the window goes, before its settings are saved and released: a worker that
// finishes later touches neither the window, the settings nor the files of its run.
void CloseJobs();
// Called when the window is made: the end steps of a run may reach it.
void OpenJobs();
