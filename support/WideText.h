#pragma once

#include <windows.h>

class TextBuffer;

// Owned, NUL-terminated UTF-16 text: names as the user chose them, before they are
// written in the ANSI code page.
class WideText {
public:
    explicit WideText(int capacity = 511);
    ~WideText() { delete[] data; }
    WideText(const WideText&) = delete;
    WideText& operator=(const WideText&) = delete;

    void Reserve(int capacity);
    wchar_t* Data() { return data; }
    const wchar_t* Data() const { return data; }
    int BufferSize() const { return capacity + 1; }
    int Length() const { return lstrlenW(data); }

    void Assign(const wchar_t* text);
    // ANSI text of the given length in bytes, embedded NULs included; -1: up to its NUL.
    void AssignAnsi(const char* text, int length = -1);
    // The text up to its last backslash or slash, without it; empty when there is none.
    void CutToFolder();

private:
    wchar_t* data;
    int capacity;
};

// The text in the ANSI code page, only when every character is there exactly (no
// best-fit look-alike, no default character).
bool ToAnsiExactly(const wchar_t* text, TextBuffer& ansi);
// A name of an existing file or folder written in the ANSI code page: the name itself
// where it fits exactly, else its short (8.3) name. False when there is neither.
bool ExistingNameInCodePage(const wchar_t* name, TextBuffer& ansi);
// The name of a file that may not exist yet: a folder the code page cannot hold becomes
// its short name; the file's own name must fit exactly, as it has no short name before
// the file exists. False otherwise.
bool NewFileNameInCodePage(const wchar_t* name, TextBuffer& ansi);
// What follows the program's name on a command line, after the blanks: the text an ANSI
// WinMain receives, here in full.
const wchar_t* CommandLineArgument(const wchar_t* line);
