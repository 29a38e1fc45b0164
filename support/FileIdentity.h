#pragma once

// True when both names open one and the same existing file, however each is spelt
// (case, short name, "..", relative to the current folder): the volume serial number
// and file index agree. False when either cannot be opened.
bool IsSameExistingFile(const wchar_t* first, const wchar_t* second);

// True when a full file name is the folder's file of that name, whether or not it exists yet:
// the same existing file, or the same folder and the name in any case.
bool IsFolderFile(const wchar_t* file, const wchar_t* folder, const wchar_t* name);
