#include "support/CodePage.h"

#include "support/FileIdentity.h"

// Windows Vista's flag, named here because the program is built for older headers.
#ifndef WC_ERR_INVALID_CHARS
#define WC_ERR_INVALID_CHARS 0x80
#endif

namespace {

UINT ActualCodePage(UINT codePage)
{
    return codePage == CP_ACP ? GetACP() : codePage == CP_OEMCP ? GetOEMCP() : codePage;
}

// The code page's own characters only. UTF-8 takes neither the best-fit flag nor a
// used-default report; it fails on an unpaired surrogate instead.
int Convert(const wchar_t* text, UINT page, bool exact, char* ansi, int size, BOOL* usedDefault)
{
    bool utf8 = page == CP_UTF8;
    DWORD flags = !exact ? 0 : utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    return WideCharToMultiByte(page, flags, text, -1, ansi, size, nullptr, exact && !utf8 ? usedDefault : nullptr);
}

bool ConvertInto(const wchar_t* text, UINT page, bool exact, TextBuffer& ansi)
{
    BOOL usedDefault = FALSE;
    int size = Convert(text, page, exact, nullptr, 0, &usedDefault);
    if (size <= 0) return false;
    ansi.Reserve(size - 1);
    return Convert(text, page, exact, ansi.Data(), ansi.BufferSize(), &usedDefault) > 0 && !usedDefault;
}

// A name is exact when the page holds it, and the second page too: the script's names are
// written in the OEM page, but the encoder gets them back in the ANSI one.
bool WriteExactly(const wchar_t* text, UINT page, UINT second, TextBuffer& written)
{
    TextBuffer other;
    return ConvertInto(text, page, true, written) && (second == page || ConvertInto(text, second, true, other));
}

// Bytes of the character at the text: a lead byte and its trail, or UTF-8's sequence.
int CharacterBytes(UINT page, const char* at)
{
    if (page != CP_UTF8) return IsDBCSLeadByteEx(page, static_cast<BYTE>(*at)) && at[1] ? 2 : 1;
    int step = 1;
    while ((static_cast<unsigned char>(at[step]) & 0xC0) == 0x80) ++step;
    return step;
}

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

bool IsAbsolute(const wchar_t* name)
{
    bool drive = name[0] && name[1] == L':' && (name[2] == L'\\' || name[2] == L'/');
    // Two separators start a network name, or a local one past the length limit (\\?\C:\).
    return (IsSeparator(name[0]) && IsSeparator(name[1])) || drive;
}

// A drive letter without a backslash names that drive's current folder, which cmd running
// in the program folder does not share with this process: a different file.
bool IsDriveRelative(const wchar_t* name)
{
    return name[0] && name[1] == L':' && name[2] != L'\\' && name[2] != L'/';
}

// Characters no file name holds: a colon past the drive names a stream of a file ("~enc.bat::$DATA"
// is the script itself) or a device, and the wildcards match other files.
bool HasForbiddenCharacter(const wchar_t* name)
{
    const wchar_t* path = name;
    if (IsSeparator(name[0]) && IsSeparator(name[1]) && (name[2] == L'?' || name[2] == L'.') && IsSeparator(name[3])) {
        path += 4;
    }
    for (const wchar_t* p = path; *p; ++p) {
        if ((*p == L':' && p != path + 1) || *p == L'*' || *p == L'?' || *p == L'<' || *p == L'>' || *p == L'|') {
            return true;
        }
    }
    return false;
}

}  // namespace

bool FullNameIn(const wchar_t* name, const wchar_t* folder, WideText& full)
{
    WideText joined;
    bool onFolderDrive = folder[0] && folder[1] == L':';
    if (IsAbsolute(name)) {
        joined.Assign(name);
    } else if (IsSeparator(name[0]) && onFolderDrive) {
        const wchar_t drive[] = {folder[0], L':', L'\0'};
        joined.Assign(drive);
        joined.Append(name);
    } else {
        joined.Assign(folder);
        joined.Append(L"\\");
        joined.Append(name);
    }
    DWORD size = GetFullPathNameW(joined.Data(), 0, nullptr, nullptr);
    if (size == 0) return false;
    full.Reserve(static_cast<int>(size));
    return GetFullPathNameW(joined.Data(), full.BufferSize(), full.Data(), nullptr) != 0;
}

namespace {

// The folder of a full name; a drive's root keeps its backslash, since "C:" alone names the
// drive's current folder.
void FolderOf(const wchar_t* full, WideText& folder)
{
    folder.Assign(full);
    folder.CutToFolder();
    folder.AddRootBackslash();
}

bool ShortName(const wchar_t* name, UINT page, UINT second, TextBuffer& ansi)
{
    DWORD size = GetShortPathNameW(name, nullptr, 0);
    if (size == 0) return false;
    WideText shortName(static_cast<int>(size));
    if (GetShortPathNameW(name, shortName.Data(), shortName.BufferSize()) == 0) return false;
    return WriteExactly(shortName.Data(), page, second, ansi);
}

// A file that does not exist yet: its folder by short name, its own name exactly.
bool NewFileName(const wchar_t* full, UINT page, UINT second, TextBuffer& ansi)
{
    WideText folder;
    FolderOf(full, folder);
    if (folder.IsEmpty()) return false;
    const wchar_t* own = full + folder.Length();
    if (*own == L'\\') ++own;
    TextBuffer file;
    if (!WriteExactly(own, page, second, file) || !ShortName(folder.Data(), page, second, ansi)) return false;
    int length = ansi.Length();
    if (length == 0 || ansi.Data()[length - 1] != '\\') ansi.Append("\\");
    ansi.Append(file.Data());
    return true;
}

// Wine makes short names from a hash, and another file of the folder may carry that very name
// as its own: a written name stands only when it opens what the given one does, the file or,
// for a new file, its folder.
bool OpensTheSame(const char* written, const wchar_t* folder, UINT page, const wchar_t* file)
{
    WideText wide, full;
    FromCodePage(written, page, wide);
    if (!FullNameIn(wide.Data(), folder, full)) return false;
    if (GetFileAttributesW(file) != INVALID_FILE_ATTRIBUTES) return IsSameExistingFile(full.Data(), file);
    WideText writtenFolder, givenFolder;
    FolderOf(full.Data(), writtenFolder);
    FolderOf(file, givenFolder);
    return IsSameExistingFile(writtenFolder.Data(), givenFolder.Data());
}

}  // namespace

bool ToCodePage(const wchar_t* text, UINT codePage, TextBuffer& ansi)
{
    UINT page = ActualCodePage(codePage);
    if (ConvertInto(text, page, true, ansi)) return true;
    if (!ConvertInto(text, page, false, ansi)) ansi.Assign("");
    return false;
}

void ToCodePageCut(const wchar_t* text, UINT codePage, char* ansi, int size)
{
    UINT page = ActualCodePage(codePage);
    TextBuffer whole;
    ToCodePage(text, page, whole);
    int length = 0;
    for (const char* p = whole.Data(); *p;) {
        int step = CharacterBytes(page, p);
        if (length + step > size - 1) break;
        length += step;
        p += step;
    }
    CopyMemory(ansi, whole.Data(), length);
    ansi[length] = '\0';
}

void FromCodePage(const char* text, UINT codePage, WideText& wide)
{
    UINT page = ActualCodePage(codePage);
    int size = MultiByteToWideChar(page, 0, text, -1, nullptr, 0);
    wide.Reserve(size);
    if (size <= 0 || MultiByteToWideChar(page, 0, text, -1, wide.Data(), size) == 0) wide.Data()[0] = L'\0';
}

NameFault ResolveName(const wchar_t* given, const wchar_t* folder, NameUse use, UINT codePage, WrittenName& name)
{
    UINT page = ActualCodePage(codePage), second = codePage == CP_OEMCP ? GetACP() : page;
    name.text.Assign("");
    name.file.Assign(L"");
    WideText unquoted(lstrlenW(given));
    wchar_t* out = unquoted.Data();
    bool control = false;
    for (const wchar_t* p = given; *p; ++p) {
        if (*p < L' ') control = true;
        if (*p != L'"') *out++ = *p;
    }
    *out = L'\0';
    if (out == unquoted.Data()) return NameEmpty;
    if (control || HasForbiddenCharacter(unquoted.Data())) return NameHasUnusableCharacter;
    if (IsDriveRelative(unquoted.Data())) return NameIsDriveRelative;
    if (!FullNameIn(unquoted.Data(), folder, name.file)) return NameHasUnusableCharacter;
    if (use == ExistingFile) {
        DWORD attributes = GetFileAttributesW(name.file.Data());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            name.file.Assign(L"");
            return NameIsMissing;
        }
    }
    // Exact names are written as given, relative ones too: cmd judges them from the same folder.
    if (WriteExactly(unquoted.Data(), page, second, name.text)) return NameUsable;
    bool written = ShortName(name.file.Data(), page, second, name.text) ||
                   (use == NewFile && NewFileName(name.file.Data(), page, second, name.text));
    if (written && OpensTheSame(name.text.Data(), folder, page, name.file.Data())) return NameUsable;
    name.text.Assign("");
    name.file.Assign(L"");
    return NameHasNoForm;
}

bool ResolveFolderName(const wchar_t* folder, UINT codePage, TextBuffer& text)
{
    // A root is given with its backslash, which the folder's form then drops again.
    WideText named;
    named.Assign(folder);
    named.AddRootBackslash();
    bool root = named.Length() != lstrlenW(folder);
    WrittenName written;
    if (ResolveName(named.Data(), L"", AnyFolder, codePage, written) != NameUsable) return false;
    text.Assign(written.text.Data());
    int length = text.Length();
    if (root && length == 3 && text.Data()[2] == '\\') text.Data()[2] = '\0';
    return true;
}

bool IsNetworkName(const wchar_t* name)
{
    if (!IsSeparator(name[0]) || !IsSeparator(name[1])) return false;
    // "\\?\C:\..." and "\\.\C:\..." are local names written past the length limit.
    bool local = (name[2] == L'?' || name[2] == L'.') && IsSeparator(name[3]) && name[4] && name[5] == L':';
    return !local;
}
