#include "settings/ProfileReader.h"

#include "support/CodePage.h"
#include "support/WideText.h"

#include <windows.h>

void ProfileReader::SetFile(const char* file) { path.Assign(file); }

void ProfileReader::SetSection(const char* name) { section.Assign(name); }

int ProfileReader::ReadInt(const char* key, int defaultValue)
{
    // An empty name would make the profile functions read the system's WIN.INI.
    if (path.IsEmpty()) return defaultValue;
    return static_cast<int>(GetPrivateProfileIntA(section.Data(), key, defaultValue, path.Data()));
}

void ProfileReader::ReadString(const char* key, char* text, int size, const char* defaultValue)
{
    if (path.IsEmpty()) {
        lstrcpynA(text, defaultValue, size);
        return;
    }
    GetPrivateProfileStringA(section.Data(), key, defaultValue, text, size, path.Data());
}

void ProfileReader::ReadString(const char* key, TextBuffer& text, const char* defaultValue)
{
    if (path.IsEmpty()) {
        text.Assign(defaultValue);
        return;
    }
    // A value cut to fit the buffer comes back one character short of it: read again, larger.
    while (GetPrivateProfileStringA(section.Data(), key, defaultValue, text.Data(), text.BufferSize(), path.Data()) + 1 >=
           static_cast<DWORD>(text.BufferSize())) {
        text.Reserve(2 * text.BufferSize());
    }
}

void ProfileReader::ReadName(const char* key, TextBuffer& text, bool folder)
{
    text.Assign("");
    if (path.IsEmpty()) return;
    WideText wideSection, wideKey, widePath, value;
    FromCodePage(section.Data(), CP_ACP, wideSection);
    FromCodePage(key, CP_ACP, wideKey);
    FromCodePage(path.Data(), CP_ACP, widePath);
    while (GetPrivateProfileStringW(wideSection.Data(), wideKey.Data(), L"", value.Data(), value.BufferSize(),
                                    widePath.Data()) + 1 >= static_cast<DWORD>(value.BufferSize())) {
        value.Reserve(2 * value.BufferSize());
    }
    if (ToCodePage(value.Data(), CP_ACP, text)) return;
    WrittenName name;
    if (folder ? !ResolveFolderName(value.Data(), CP_ACP, text)
               : ResolveName(value.Data(), L"", ExistingFile, CP_ACP, name) != NameUsable) {
        text.Assign("");
    } else if (!folder) {
        text.Assign(name.text.Data());
    }
}
