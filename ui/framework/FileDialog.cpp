#include "ui/framework/FileDialog.h"

#include "support/SystemEntry.h"
#include "support/WideText.h"

namespace {

// The box copies its first folder into a buffer of MAX_PATH characters and fails inside the
// system beyond it (measured: 255 characters open, 259 crash), and it takes the folder's long
// form, so a short name of a deep folder is judged by its long one; a gone folder leaves it
// nowhere. Either way it opens in its own default folder instead.
const wchar_t* UsableFolder(const wchar_t* folder)
{
    if (!folder || !*folder) return nullptr;
    DWORD attributes = GetFileAttributesW(folder), longSize = GetLongPathNameW(folder, nullptr, 0);
    bool isFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    return isFolder && longSize != 0 && longSize <= MAX_PATH - 4 ? folder : nullptr;
}

bool Ask(const char* entry, HWND owner, const wchar_t* filter, const wchar_t* defaultExtension,
         const wchar_t* initialFolder, DWORD flags, WideText& name)
{
    OPENFILENAMEW record;
    FillFileDialogRecord(record, owner, filter, defaultExtension, UsableFolder(initialFolder), flags, name);
    auto show = SystemEntry<BOOL(WINAPI*)(OPENFILENAMEW*)>("comdlg32.dll", entry);
    return show && show(&record) != FALSE;
}

}  // namespace

void FillFileDialogRecord(OPENFILENAMEW& record, HWND owner, const wchar_t* filter, const wchar_t* defaultExtension,
                          const wchar_t* initialFolder, DWORD flags, WideText& name)
{
    ZeroMemory(&record, sizeof record);
    record.lStructSize = kFileDialogRecordSize;
    record.hwndOwner = owner;
    record.lpstrFilter = filter;
    record.lpstrFile = name.Data();
    record.nMaxFile = name.BufferSize();
    record.lpstrInitialDir = initialFolder;
    record.Flags = flags;
    record.lpstrDefExt = defaultExtension;
}

bool AskOpenFileName(HWND owner, const wchar_t* filter, const wchar_t* defaultExtension, const wchar_t* initialFolder,
                     WideText& name)
{
    return Ask("GetOpenFileNameW", owner, filter, defaultExtension, initialFolder, kOpenDialogFlags, name);
}

bool AskSaveFileName(HWND owner, const wchar_t* filter, const wchar_t* defaultExtension, const wchar_t* initialFolder,
                     WideText& name)
{
    return Ask("GetSaveFileNameW", owner, filter, defaultExtension, initialFolder, kSaveDialogFlags, name);
}
