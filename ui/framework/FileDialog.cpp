#include "ui/framework/FileDialog.h"

#include "support/SystemEntry.h"
#include "support/WideText.h"

namespace {

// Bytes of a filter: its pairs of texts and the empty text that ends them.
int FilterLength(const char* filter)
{
    const char* end = filter;
    while (*end) end += lstrlenA(end) + 1;
    return static_cast<int>(end - filter) + 1;
}

bool Ask(const char* entry, HWND owner, const char* filter, const char* defaultExtension, const char* initialFolder,
         bool fullPath, DWORD flags, WideText& name)
{
    WideText wideFilter, extension, folder;
    wideFilter.AssignAnsi(filter, FilterLength(filter));
    extension.AssignAnsi(defaultExtension);
    folder.AssignAnsi(initialFolder);
    OPENFILENAMEW record;
    FillFileDialogRecord(record, owner, wideFilter.Data(), extension.Data(), folder.Data(), fullPath, flags, name);
    auto show = SystemEntry<BOOL(WINAPI*)(OPENFILENAMEW*)>("comdlg32.dll", entry);
    return show && show(&record) != FALSE;
}

}  // namespace

DWORD OpenDialogFlags(bool allowNew)
{
    return OFN_HIDEREADONLY | (allowNew ? 0 : OFN_FILEMUSTEXIST);
}

DWORD SaveDialogFlags(bool overwritePrompt)
{
    return OFN_HIDEREADONLY | (overwritePrompt ? OFN_OVERWRITEPROMPT : 0);
}

void FillFileDialogRecord(OPENFILENAMEW& record, HWND owner, const wchar_t* filter, const wchar_t* defaultExtension,
                          const wchar_t* initialFolder, bool fullPath, DWORD flags, WideText& name)
{
    ZeroMemory(&record, sizeof record);
    record.lStructSize = kFileDialogRecordSize;
    record.hwndOwner = owner;
    record.lpstrFilter = filter;
    if (fullPath) {
        record.lpstrFile = name.Data();
        record.nMaxFile = name.BufferSize();
    } else {
        record.lpstrFileTitle = name.Data();
        record.nMaxFileTitle = name.BufferSize();
    }
    record.lpstrInitialDir = initialFolder;
    record.Flags = flags;
    record.lpstrDefExt = defaultExtension;
}

bool AskOpenFileName(HWND owner, const char* filter, const char* defaultExtension, const char* initialFolder,
                     bool fullPath, bool allowNew, WideText& name)
{
    return Ask("GetOpenFileNameW", owner, filter, defaultExtension, initialFolder, fullPath, OpenDialogFlags(allowNew),
               name);
}

bool AskSaveFileName(HWND owner, const char* filter, const char* defaultExtension, const char* initialFolder,
                     bool fullPath, bool overwritePrompt, WideText& name)
{
    return Ask("GetSaveFileNameW", owner, filter, defaultExtension, initialFolder, fullPath,
               SaveDialogFlags(overwritePrompt), name);
}
