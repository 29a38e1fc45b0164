#include "ui/framework/FileDialog.h"

#include "support/SystemEntry.h"
#include "support/WideText.h"

namespace {

bool Ask(const char* entry, HWND owner, const wchar_t* filter, const wchar_t* defaultExtension,
         const wchar_t* initialFolder, bool fullPath, DWORD flags, WideText& name)
{
    OPENFILENAMEW record;
    FillFileDialogRecord(record, owner, filter, defaultExtension, initialFolder, fullPath, flags, name);
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

bool AskOpenFileName(HWND owner, const wchar_t* filter, const wchar_t* defaultExtension, const wchar_t* initialFolder,
                     bool fullPath, bool allowNew, WideText& name)
{
    return Ask("GetOpenFileNameW", owner, filter, defaultExtension, initialFolder, fullPath, OpenDialogFlags(allowNew),
               name);
}

bool AskSaveFileName(HWND owner, const wchar_t* filter, const wchar_t* defaultExtension, const wchar_t* initialFolder,
                     bool fullPath, bool overwritePrompt, WideText& name)
{
    return Ask("GetSaveFileNameW", owner, filter, defaultExtension, initialFolder, fullPath,
               SaveDialogFlags(overwritePrompt), name);
}
