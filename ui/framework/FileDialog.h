#pragma once

#include <windows.h>
#include <commdlg.h>

#include <cstddef>

class WideText;

// The record size of the OPENFILENAMEW form without the Windows 2000 fields: 76 bytes in
// 32-bit Windows, larger in 64-bit, where its pointers are wider.
const DWORD kFileDialogRecordSize = offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR);
static_assert(sizeof(void*) != 4 || kFileDialogRecordSize == 76, "the 32-bit record is 76 bytes");

// An existing file is chosen to open; saving names any file, an existing one without a question.
const DWORD kOpenDialogFlags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
const DWORD kSaveDialogFlags = OFN_HIDEREADONLY;

// Zeroes the record and fills it; the buffer receives the full path.
void FillFileDialogRecord(OPENFILENAMEW& record, HWND owner, const wchar_t* filter, const wchar_t* defaultExtension,
                          const wchar_t* initialFolder, DWORD flags, WideText& name);

// The dialogs in their wide forms, so a name the code page cannot hold comes back whole.
// The filter is pairs of texts, each ended by NUL, and a final NUL. True if the user chose a
// file; false on cancel or failure, the buffer then holds nothing useful. A first folder the
// box cannot open (gone, or too long for it) is left out: the box opens in its default one.
bool AskOpenFileName(HWND owner, const wchar_t* filter, const wchar_t* defaultExtension, const wchar_t* initialFolder,
                     WideText& name);
bool AskSaveFileName(HWND owner, const wchar_t* filter, const wchar_t* defaultExtension, const wchar_t* initialFolder,
                     WideText& name);
