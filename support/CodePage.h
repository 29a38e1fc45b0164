#pragma once

#include "support/TextBuffer.h"
#include "support/WideText.h"

#include <windows.h>

// The one place where text crosses between the window, which is Unicode, and the ANSI code
// page that the script and the settings file are written in. The code page is the one the
// text is written in: CP_ACP, the system's, in the program.

// True when every character is there exactly: no best-fit look-alike, no default character,
// no unpaired surrogate. When false, ansi holds the system's nearest text.
bool ToCodePage(const wchar_t* text, UINT codePage, TextBuffer& ansi);
// At most size - 1 bytes and a NUL, never half a character: what a settings field holds.
void ToCodePageCut(const wchar_t* text, UINT codePage, char* ansi, int size);
void FromCodePage(const char* text, UINT codePage, WideText& wide);

// A file name as the script writes it and the file it names.
struct WrittenName {
    // In the code page: the name as given where it fits exactly, else by short names.
    TextBuffer text;
    // The file itself, judged from the folder the script runs in.
    WideText file;
};

enum NameUse { ExistingFile, NewFile };

// Resolves a name as the user gave it into its script spelling and its file; nothing is written.
// The spelling: double quotes dropped, as the
// script drops them; a relative name judged from the folder. A new file that has no short name
// yet is written by its folder's short name and its own exact name. False when refused: a
// control character (no file name holds one), nothing left, a drive letter without a backslash
// (the drive's current folder, which cmd does not share), or no form in the code page that opens
// the same file.
bool ResolveName(const wchar_t* given, const wchar_t* folder, NameUse use, UINT codePage, WrittenName& name);

// A folder as the settings and the script name it, without a trailing backslash: a drive's
// root is "C:". False where it has no form in the code page.
bool ResolveFolderName(const wchar_t* folder, UINT codePage, TextBuffer& text);

// Frame rate and size go into the script unquoted: false when the text holds a character cmd
// reads as an operator or a variable (& | < > ^ " %) or a control character.
bool IsPlainScriptValue(const char* text);
