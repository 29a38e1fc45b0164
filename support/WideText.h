#pragma once

#include <windows.h>

// Owned, NUL-terminated UTF-16 text: what the window shows and the user gives.
class WideText {
public:
    explicit WideText(int capacity = 511);
    ~WideText() { delete[] data; }
    WideText(const WideText&) = delete;
    WideText& operator=(const WideText&) = delete;

    void Reserve(int capacity);
    wchar_t* Data() { return data; }
    const wchar_t* Data() const { return data; }
    int BufferSize() const { return capacity + 1; }
    int Length() const { return lstrlenW(data); }
    bool IsEmpty() const { return data[0] == L'\0'; }

    void Assign(const wchar_t* text);
    // The text grows to hold what is added.
    void Append(const wchar_t* text);
    // The text up to its last backslash or slash, without it; empty when there is none.
    void CutToFolder();
    // A drive's root written "C:" gains its backslash: alone, "C:" names the drive's current folder.
    void AddRootBackslash();
    // Every one of the character becomes another; NUL too, which splits the text into a list.
    void ReplaceChar(wchar_t from, wchar_t to);

private:
    wchar_t* data;
    int capacity;
};
