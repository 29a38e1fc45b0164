#include "support/FileIdentity.h"

#include "support/WideText.h"

#include <windows.h>

namespace {

bool GetIdentity(const wchar_t* name, BY_HANDLE_FILE_INFORMATION& information)
{
    // No access asked and every sharing mode allowed: a file open elsewhere is still identified.
    HANDLE file = CreateFileW(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool known = GetFileInformationByHandle(file, &information) != FALSE;
    CloseHandle(file);
    return known;
}

}  // namespace

bool IsSameExistingFile(const wchar_t* first, const wchar_t* second)
{
    BY_HANDLE_FILE_INFORMATION a, b;
    if (!GetIdentity(first, a) || !GetIdentity(second, b)) return false;
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

bool IsFolderFile(const wchar_t* file, const wchar_t* folder, const wchar_t* name)
{
    WideText path(lstrlenW(folder) + lstrlenW(name) + 1);
    path.Assign(folder);
    lstrcatW(path.Data(), L"\\");
    lstrcatW(path.Data(), name);
    if (IsSameExistingFile(file, path.Data())) return true;
    WideText fileFolder;
    fileFolder.Assign(file);
    fileFolder.CutToFolder();
    const wchar_t* own = file + fileFolder.Length();
    if (*own == L'\\' || *own == L'/') ++own;
    // A root folder is opened by its backslash.
    if (fileFolder.Length() == 2) lstrcatW(fileFolder.Data(), L"\\");
    path.Assign(folder);
    if (path.Length() == 2) lstrcatW(path.Data(), L"\\");
    return lstrcmpiW(own, name) == 0 && IsSameExistingFile(fileFolder.Data(), path.Data());
}
