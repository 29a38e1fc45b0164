#include "settings/ProfileReader.h"

#include <windows.h>

void ProfileReader::SetFile(const char* file) { path.Assign(file); }

void ProfileReader::SetSection(const char* name) { section.Assign(name); }

int ProfileReader::ReadInt(const char* key, int defaultValue)
{
    // An empty name would make the profile functions read the system's WIN.INI.
    if (path.IsEmpty()) return defaultValue;
    return static_cast<int>(GetPrivateProfileIntA(section.Data(), key, defaultValue, path.Data()));
}

void ProfileReader::ReadString(const char* key, char* text, int size, const char* defaultValue)
{
    if (path.IsEmpty()) {
        lstrcpynA(text, defaultValue, size);
        return;
    }
    GetPrivateProfileStringA(section.Data(), key, defaultValue, text, size, path.Data());
}

void ProfileReader::ReadString(const char* key, TextBuffer& text, const char* defaultValue)
{
    if (path.IsEmpty()) {
        text.Assign(defaultValue);
        return;
    }
    // A value cut to fit the buffer comes back one character short of it: read again, larger.
    while (GetPrivateProfileStringA(section.Data(), key, defaultValue, text.Data(), text.BufferSize(), path.Data()) + 1 >=
           static_cast<DWORD>(text.BufferSize())) {
        text.Reserve(2 * text.BufferSize());
    }
}
