#pragma once

#include <windows.h>

#include <string>

// A fresh, empty folder under the system's temporary folder, removed with its files
// when the object dies.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path; }
    std::string File(const std::string& name) const { return path + "\\" + name; }
    // Names the code page cannot hold.
    std::wstring File(const std::wstring& name) const;

private:
    std::string path;
};

// The files of a folder the test did not make, such as its executable's own.
class FolderFiles {
public:
    explicit FolderFiles(std::string path) : folder(std::move(path)) {}
    std::string File(const std::string& name) const { return folder + "\\" + name; }
    // Gone, read-only or not; nothing happens when it was not there.
    void Remove(const std::string& name) const;

    const std::string folder;
};

// A folder under base whose full name is exactly that long, past MAX_PATH too, made part by part
// in the long form; empty when it could not be made.
std::string MakeDeepFolder(const std::string& base, size_t length);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// Runs a command line in the folder of this executable, waits for it and returns what it
// printed (kept in a file there, since host programs behind the bridge write to it).
std::string RunAndCapture(const std::string& commandLine);
// Starts a program as from the desktop: no console and no handles of ours. The thread
// handle is closed; the caller owns the process handle.
bool StartDetached(const std::wstring& commandLine, PROCESS_INFORMATION& process, const std::wstring& folder = L"");
// Runs a command line with our handles, waits for it and gives its exit code
// (STILL_ACTIVE when the time ran out, -1 when it could not start).
unsigned long RunToEnd(const std::string& commandLine, unsigned long milliseconds);
// A process of that file name started by the parent, or 0; also after the parent has ended.
unsigned long FindChildProcess(unsigned long parent, const char* name);
// What the stand-in player that the process started wrote to its file, "(player not started)"
// when none was, waiting for the player's own end. Asked once that process has recorded a run's
// end: a player it started exists by then (ShellExecuteEx returns once it does) or has written.
std::string PlayerArguments(unsigned long starter, const std::string& file);
// Text between the ANSI code page and UTF-16, with the system's own best fit.
std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& text);
// The file a settings file is written to before it replaces it: "Brumweld.tmp" beside "Brumweld.ini".
std::string SettingsTemporary(const std::string& settingsFile);
// A clip made by ffmpeg.exe beside this executable (the bridge to the host's ffmpeg): a test
// picture of that size at 30 frames a second with a sine tone, MPEG-4 and MP3; what it printed.
std::string MakeClip(const std::string& path, int seconds, const char* size);
// A name in the code page: as it is where the code page holds it, else by its short name, as
// the program writes it.
std::string CodePageName(const std::wstring& name);
// The Windows folder of the small file system that ctest mounted and filled (full-disk.sh),
// named in BRUMWELD_FULL_DISK; empty, with the reason, when there is none to use.
std::string FullDiskFolder(std::string& skipReason);
// The running executable and its folder (without a trailing backslash), in the code page: by
// their short names where it cannot hold them, as the program writes them.
std::string ExecutablePath();
std::string ExecutableFolder();
