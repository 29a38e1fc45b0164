#include "ui/framework/FileDialog.h"

#include "support/SystemEntry.h"
#include "support/TextBuffer.h"

DWORD OpenDialogFlags(bool allowNew)
{
    return OFN_HIDEREADONLY | (allowNew ? 0 : OFN_FILEMUSTEXIST);
}

DWORD SaveDialogFlags(bool overwritePrompt)
{
    return OFN_HIDEREADONLY | (overwritePrompt ? OFN_OVERWRITEPROMPT : 0);
}

void FillFileDialogRecord(OPENFILENAMEA& record, HWND owner, const char* filter, const char* defaultExtension,
                          const char* initialFolder, bool fullPath, DWORD flags, TextBuffer& name)
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
                     bool fullPath, bool allowNew, TextBuffer& name)
{
    OPENFILENAMEA record;
    FillFileDialogRecord(record, owner, filter, defaultExtension, initialFolder, fullPath, OpenDialogFlags(allowNew),
                         name);
    auto show = SystemEntry<BOOL(WINAPI*)(OPENFILENAMEA*)>("comdlg32.dll", "GetOpenFileNameA");
    return show && show(&record) != FALSE;
}

bool AskSaveFileName(HWND owner, const char* filter, const char* defaultExtension, const char* initialFolder,
                     bool fullPath, bool overwritePrompt, TextBuffer& name)
{
    OPENFILENAMEA record;
    FillFileDialogRecord(record, owner, filter, defaultExtension, initialFolder, fullPath,
                         SaveDialogFlags(overwritePrompt), name);
    auto show = SystemEntry<BOOL(WINAPI*)(OPENFILENAMEA*)>("comdlg32.dll", "GetSaveFileNameA");
    return show && show(&record) != FALSE;
}
