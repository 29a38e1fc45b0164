#pragma once

#include <windows.h>
#include <commdlg.h>

#include <cstddef>

class TextBuffer;

// The record size of the OPENFILENAMEA form without the Windows 2000 fields: 76 bytes in
// 32-bit Windows, larger in 64-bit, where its pointers are wider.
const DWORD kFileDialogRecordSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
static_assert(sizeof(void*) != 4 || kFileDialogRecordSize == 76, "the 32-bit record is 76 bytes");

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
