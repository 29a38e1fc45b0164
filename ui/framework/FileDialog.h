#pragma once

#include <windows.h>
#include <commdlg.h>

class TextBuffer;

// The record size of the OPENFILENAMEA form without the Windows 2000 fields.
const DWORD kFileDialogRecordSize = 76;

DWORD OpenDialogFlags(bool allowNew);
DWORD SaveDialogFlags(bool overwritePrompt);

// Zeroes the record and fills it; the buffer receives the full path, or only the name without fullPath.
void FillFileDialogRecord(OPENFILENAMEA& record, HWND owner, const char* filter, const char* defaultExtension,
                          const char* initialFolder, bool fullPath, DWORD flags, TextBuffer& name);

// True if the user chose a file; false on cancel or failure, the buffer then holds nothing useful.
bool AskOpenFileName(HWND owner, const char* filter, const char* defaultExtension, const char* initialFolder,
                     bool fullPath, bool allowNew, TextBuffer& name);
bool AskSaveFileName(HWND owner, const char* filter, const char* defaultExtension, const char* initialFolder,
                     bool fullPath, bool overwritePrompt, TextBuffer& name);
