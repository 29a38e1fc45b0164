#pragma once

#include "support/TextBuffer.h"
#include "support/WideText.h"

#include <windows.h>

// The one place where text crosses between the window, which is Unicode, and the code pages
// of the files the program writes. The code page is the one the text is written in: CP_ACP,
// the ANSI one, for the settings file, which the profile functions read so; CP_OEMCP for the
// script's names, which cmd reads in the console's page (the two are one on Japanese Windows
// and under the UTF-8 option, not on Windows set up for another language).

// True when every character is there exactly: no best-fit look-alike, no default character,
// no unpaired surrogate. When false, ansi holds the system's nearest text.
bool ToCodePage(const wchar_t* text, UINT codePage, TextBuffer& ansi);
// At most size - 1 bytes and a NUL, never half a character: what a settings field holds.
void ToCodePageCut(const wchar_t* text, UINT codePage, char* ansi, int size);
void FromCodePage(const char* text, UINT codePage, WideText& wide);

// A file name as the script writes it and the file it names.
struct WrittenName {
    // In the code page: the name as given where it fits exactly, else by short names. With
    // CP_OEMCP, the script's page, the ANSI page must hold it too: the encoder gets it back so.
    TextBuffer text;
    // The file itself, judged from the folder the script runs in.
    WideText file;
};

// An input must be a file that exists; a new file may not exist yet; a folder is not looked for.
enum NameUse { ExistingFile, NewFile, AnyFolder };

// Why a name cannot be written, in the order it is judged.
enum NameFault {
    NameUsable,
    // Nothing left once its double quotes are dropped.
    NameEmpty,
    // A control character (no file name holds one), a colon past the drive (a stream of a file
    // or a device) or a wildcard.
    NameHasUnusableCharacter,
    // A drive letter without a backslash: the drive's current folder, which cmd does not share.
    NameIsDriveRelative,
    // An input that is no file: nothing there, or a folder.
    NameIsMissing,
    // No form in the code page that opens the same file.
    NameHasNoForm,
};

// Resolves a name as the user gave it into its script spelling and its file; nothing is written.
// The spelling: double quotes dropped, as the script drops them; a relative name judged from the
// folder. A new file that has no short name yet is written by its folder's short name and its own
// exact name.
NameFault ResolveName(const wchar_t* given, const wchar_t* folder, NameUse use, UINT codePage, WrittenName& name);

// The full name of a name as cmd running in the folder opens it.
bool FullNameIn(const wchar_t* name, const wchar_t* folder, WideText& full);

// A folder as the settings and the script name it, without a trailing backslash: a drive's
// root is "C:". False where it has no form in the code page.
bool ResolveFolderName(const wchar_t* folder, UINT codePage, TextBuffer& text);

// True for every form Windows takes for a network name: two separators of either kind at the
// start (\\server\share, //server/share), other than a long local name (\\?\C:\).
bool IsNetworkName(const wchar_t* name);
