#pragma once

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

private:
    std::string path;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// Runs a command line in the folder of this executable, waits for it and returns what it
// printed (kept in a file there, since host programs behind the bridge write to it).
std::string RunAndCapture(const std::string& commandLine);
// A process of that file name started by the parent, or 0; also after the parent has ended.
unsigned long FindChildProcess(unsigned long parent, const char* name);
// The folder of the running executable, without a trailing backslash.
std::string ExecutableFolder();
