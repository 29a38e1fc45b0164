#pragma once

class JobWindow;
class TextFileWriter;
struct EncodeSettings;

// One encoding run: the script "~enc.bat" is written beside the executable, the window
// goes busy, and a worker thread runs the script, waits, cleans up and leaves the busy
// state. Called on the user-interface thread once the settings hold the controls.
void StartJob(JobWindow& window, EncodeSettings& settings);

// Writes the script; true only when it was created and every byte of it reached the file.
// A script that came out short is removed.
bool WriteBatchScript(JobWindow& window, const EncodeSettings& settings);

// Starts a process from a command line and, if asked, waits for it to end.
bool RunProcess(const char* commandLine, bool wait);

// The steps after a run: temporary files removed, busy state left, player started.
void FinishJob(JobWindow& window, EncodeSettings& settings);

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
