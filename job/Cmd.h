#pragma once

#include <windows.h>

class TextBuffer;
class WideText;

// What is cmd's own: how it reads a script and its command line, where it looks for a program,
// and how it is started, with which switches, environment and code page. What is about names in
// general (short names, drive-relative names, network names) is in support/CodePage.

// cmd reads at most this many bytes of a script line; what lies beyond would run as a command
// of its own.
const int kLongestScriptLine = 8191;

// A name as a script line holds it: between double quotes, with % doubled (cmd expands it even
// between quotes) and any double quote, which no file name holds, dropped so the name can never
// end the quoting early.
void AppendScriptName(TextBuffer& line, const char* name);

// A value written into a script unquoted: false when it holds a character cmd reads as an
// operator or a variable (& | < > ^ " %) or a control character.
bool IsPlainScriptValue(const char* text);

// cmd cannot run a script whose folder is a network path: it warns and runs in the Windows
// folder instead.
bool RunsScriptsIn(const wchar_t* folder);

// True when cmd, running a script in the folder, finds the program of that bare name there or on
// the PATH, and it is a program this Windows runs.
bool FindsProgram(const wchar_t* folder, const wchar_t* name);

// cmd's command line for running "~enc.bat" from its current folder: by its full name in the
// system folder, without AutoRun (/d) or delayed expansion (/v:off), whatever the registry says,
// after the system's chcp has set the console to the code page the script is written in. False
// for a system folder holding %, which cmd would expand.
bool MakeCmdLine(const wchar_t* systemFolder, UINT codePage, WideText& program, WideText& line);

// An environment block (NUL-separated, ended by an empty entry) without
// NoDefaultCurrentDirectoryInExePath, with which cmd would not look in its own folder for a
// program named without one.
void MakeCmdEnvironment(const wchar_t* strings, WideText& block);

// Starts a process as CreateProcessW does; tests put a refusing one in its place.
using ProcessStarter = decltype(&CreateProcessW);

// cmd for the script in the folder, suspended, in a console of its own that takes nothing of this
// program's start, with this program's environment as cmd needs it; false with the system's
// reason as GetLastError gives it.
bool StartCmd(const wchar_t* folder, UINT codePage, ProcessStarter start, PROCESS_INFORMATION& process);
