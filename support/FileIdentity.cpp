#include "support/FileIdentity.h"

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
