#pragma once

#include <windows.h>

// True when both names open one and the same existing file, however each is spelt
// (case, short name, "..", relative to the current folder). False when either cannot be opened.
bool IsSameExistingFile(const wchar_t* first, const wchar_t* second);

// Two opened files, by what their file system says of them and by the names they were opened
// with. The volume serial number and file index decide; where either file gives a zero for one
// (SMB shares, WebDAV, some virtual drives), its identity is unknown and what the names lead to
// decides: the names the system gives the opened files, or else the full long names.
bool IsSameFile(const BY_HANDLE_FILE_INFORMATION& first, const wchar_t* firstName,
                const BY_HANDLE_FILE_INFORMATION& second, const wchar_t* secondName);

// True when a full file name is the folder's file of that name, whether or not it exists yet:
// the same existing file, or the same folder and the name in any case.
bool IsFolderFile(const wchar_t* file, const wchar_t* folder, const wchar_t* name);

