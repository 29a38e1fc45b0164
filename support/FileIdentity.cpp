#include "support/FileIdentity.h"

#include "support/ScopedHandle.h"
#include "support/SystemEntry.h"
#include "support/WideText.h"

#include <windows.h>

namespace {

// No access asked and every sharing mode allowed: a file open elsewhere is still identified.
HANDLE OpenToIdentify(const wchar_t* name)
{
    return CreateFileW(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool GetIdentity(const wchar_t* name, BY_HANDLE_FILE_INFORMATION& information)
{
    ScopedHandle file(OpenToIdentify(name));
    return file.IsValid() && GetFileInformationByHandle(file.Get(), &information) != FALSE;
}

bool IsKnown(const BY_HANDLE_FILE_INFORMATION& file)
{
    return file.dwVolumeSerialNumber != 0 && (file.nFileIndexHigh != 0 || file.nFileIndexLow != 0);
}

// The full name with every short part made long, for comparing names; as given where it cannot be.
void LongName(const wchar_t* name, WideText& full)
{
    full.Assign(name);
    DWORD size = GetFullPathNameW(name, 0, nullptr, nullptr);
    if (size == 0) return;
    WideText whole(static_cast<int>(size));
    if (GetFullPathNameW(name, whole.BufferSize(), whole.Data(), nullptr) == 0) return;
    full.Assign(whole.Data());
    size = GetLongPathNameW(whole.Data(), nullptr, 0);
    if (size == 0) return;
    full.Reserve(static_cast<int>(size));
    if (GetLongPathNameW(whole.Data(), full.Data(), full.BufferSize()) == 0) full.Assign(whole.Data());
}

// Where the name leads, links and mapped drive letters followed, as the system names the file it
// opened (Windows Vista and later); its full long name where the system cannot say.
void ResolvedName(const wchar_t* name, WideText& resolved)
{
    auto finalName = SystemEntry<DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD)>("kernel32.dll", "GetFinalPathNameByHandleW");
    ScopedHandle file(finalName ? OpenToIdentify(name) : nullptr);
    DWORD size = file.IsValid() ? finalName(file.Get(), nullptr, 0, 0) : 0;
    if (size != 0) {
        resolved.Reserve(static_cast<int>(size));
        DWORD length = finalName(file.Get(), resolved.Data(), resolved.BufferSize(), 0);
        if (length != 0 && length < static_cast<DWORD>(resolved.BufferSize())) return;
    }
    LongName(name, resolved);
}

}  // namespace

bool IsSameFile(const BY_HANDLE_FILE_INFORMATION& first, const wchar_t* firstName,
                const BY_HANDLE_FILE_INFORMATION& second, const wchar_t* secondName)
{
    if (IsKnown(first) && IsKnown(second)) {
        return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
               first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
    }
    WideText a, b;
    ResolvedName(firstName, a);
    ResolvedName(secondName, b);
    return lstrcmpiW(a.Data(), b.Data()) == 0;
}

bool IsSameExistingFile(const wchar_t* first, const wchar_t* second)
{
    BY_HANDLE_FILE_INFORMATION a, b;
    return GetIdentity(first, a) && GetIdentity(second, b) && IsSameFile(a, first, b, second);
}

bool IsFolderFile(const wchar_t* file, const wchar_t* folder, const wchar_t* name)
{
    WideText path;
    path.Assign(folder);
    path.Append(L"\\");
    path.Append(name);
    if (IsSameExistingFile(file, path.Data())) return true;
    WideText fileFolder;
    fileFolder.Assign(file);
    fileFolder.CutToFolder();
    const wchar_t* own = file + fileFolder.Length();
    if (*own == L'\\' || *own == L'/') ++own;
    // A root folder is opened by its backslash.
    fileFolder.AddRootBackslash();
    path.Assign(folder);
    path.AddRootBackslash();
    return lstrcmpiW(own, name) == 0 && IsSameExistingFile(fileFolder.Data(), path.Data());
}
