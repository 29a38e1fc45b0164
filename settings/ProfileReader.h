#pragma once

#include "support/TextBuffer.h"

// Reads one key at a time from an INI file through the profile functions; a missing file,
// section or key, or no file name at all, gives the default.
class ProfileReader {
public:
    void SetFile(const char* file);
    void SetSection(const char* name);

    int ReadInt(const char* key, int defaultValue);
    // At most size - 1 characters and a NUL.
    void ReadString(const char* key, char* text, int size, const char* defaultValue);
    // The whole value: the buffer grows to hold it.
    void ReadString(const char* key, TextBuffer& text, const char* defaultValue);
    // A file or folder name, read as written, whole, and empty by default. Where the code page
    // cannot hold it (a file saved as UTF-16), the short name of what it names, or empty:
    // never the code page's look-alike, which may name another file.
    void ReadName(const char* key, TextBuffer& text, bool folder);

private:
    TextBuffer path;
    TextBuffer section;
};
