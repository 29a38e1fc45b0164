#include "support/WideText.h"

#include "support/TextBuffer.h"

WideText::WideText(int capacity) : data(new wchar_t[capacity + 1]), capacity(capacity)
{
    data[0] = L'\0';
}

void WideText::Reserve(int n)
{
    if (n <= capacity) return;
    wchar_t* array = new wchar_t[n + 1];
    lstrcpyW(array, data);
    delete[] data;
    data = array;
    capacity = n;
}

void WideText::Assign(const wchar_t* text)
{
    Reserve(lstrlenW(text));
    lstrcpyW(data, text);
}

void WideText::AssignAnsi(const char* text, int length)
{
    int size = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    Reserve(size);
    int written = size > 0 ? MultiByteToWideChar(CP_ACP, 0, text, length, data, size) : 0;
    // Counted with its NUL when the length is -1; otherwise nothing is terminated yet.
    data[length == -1 && written > 0 ? written - 1 : written] = L'\0';
}

void WideText::CutToFolder()
{
    int cut = -1;
    for (int i = 0; data[i]; ++i) {
        if (data[i] == L'\\' || data[i] == L'/') cut = i;
    }
    data[cut > 0 ? cut : 0] = L'\0';
}

bool ToAnsiExactly(const wchar_t* text, TextBuffer& ansi)
{
    BOOL usedDefault = FALSE;
    int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr, &usedDefault);
    if (size <= 0 || usedDefault) return false;
    ansi.Reserve(size - 1);
    return WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, ansi.Data(), ansi.BufferSize(), nullptr,
                               &usedDefault) > 0 &&
           !usedDefault;
}

bool ExistingNameInCodePage(const wchar_t* name, TextBuffer& ansi)
{
    if (ToAnsiExactly(name, ansi)) return true;
    DWORD size = GetShortPathNameW(name, nullptr, 0);
    if (size == 0) return false;
    WideText shortName(static_cast<int>(size));
    if (GetShortPathNameW(name, shortName.Data(), shortName.BufferSize()) == 0) return false;
    return ToAnsiExactly(shortName.Data(), ansi);
}

bool NewFileNameInCodePage(const wchar_t* name, TextBuffer& ansi)
{
    if (ToAnsiExactly(name, ansi)) return true;
    WideText folder;
    folder.Assign(name);
    folder.CutToFolder();
    int cut = folder.Length();
    TextBuffer file;
    if (cut == 0 || !ToAnsiExactly(name + cut, file) || !ExistingNameInCodePage(folder.Data(), ansi)) return false;
    ansi.Append(file.Data());
    return true;
}

const wchar_t* CommandLineArgument(const wchar_t* line)
{
    bool quoted = false;
    for (; *line && (quoted || (*line != L' ' && *line != L'\t')); ++line) {
        if (*line == L'"') quoted = !quoted;
    }
    while (*line == L' ' || *line == L'\t') ++line;
    return line;
}
