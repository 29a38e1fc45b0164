#pragma once

#include <windows.h>

class TextBuffer;
struct EncodeSettings;

// "Brumweld.ini", beside the executable, and "Brumweld.tmp", the name a new one is written
// under before it replaces the old.
extern const char kSettingsFileName[];
extern const char kSettingsTemporaryName[];

// Where the window stood, as the file keeps it: WinX and WinY, which fill no setting.
struct StoredPosition {
    // A left or top of this value means no stored position.
    static const int kNone = -1000;
    int x = kNone;
    int y = kNone;
    bool IsStored() const { return x != kNone && y != kNone; }
};

// Fills the record from the file beside the executable, and gives the stored position.
void LoadSettingsFile(EncodeSettings& settings, StoredPosition& position);
// Rewrites the file whole, or leaves it exactly as it was: 0, or the system's reason it could not
// be saved. A file its user made read-only, hidden or system is left as it is, and gives 0.
DWORD SaveSettingsFile(const EncodeSettings& settings, const StoredPosition& position);

// Puts the new file in the old one's place, as MoveFileExA does.
using FileReplacer = BOOL(WINAPI*)(LPCSTR from, LPCSTR to, DWORD flags);

// The same on a file named by its full path; saving tells whether the file was replaced, and when
// not, GetLastError gives the reason (0 for a file left as it is). A replace refused because
// another program holds the file for a moment (a virus scanner, a sync client) is tried again
// for about two seconds.
void LoadSettingsFile(EncodeSettings& settings, StoredPosition& position, const char* path);
bool SaveSettingsFile(const EncodeSettings& settings, const StoredPosition& position, const char* path,
                      FileReplacer replace = MoveFileExA);

// A settings file saved as UTF-8 with its byte-order mark, copied as UTF-16 with its mark into
// a new file beside it, named in copy, which the caller removes; false for any other file, or
// when no copy could be made.
bool CopyUtf8AsUtf16(const char* path, TextBuffer& copy);

// What a file that holds none of the keys gives.
void SetDefaultSettings(EncodeSettings& settings);
