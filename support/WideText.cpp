#include "support/WideText.h"

WideText::WideText(int capacity) : data(new wchar_t[capacity + 1]), capacity(capacity)
{
    data[0] = L'\0';
}

void WideText::Reserve(int n)
{
    if (n <= capacity) return;
    wchar_t* array = new wchar_t[n + 1];
    CopyMemory(array, data, (Length() + 1) * sizeof(wchar_t));
    delete[] data;
    data = array;
    capacity = n;
}

void WideText::Assign(const wchar_t* text)
{
    int length = lstrlenW(text);
    Reserve(length);
    MoveMemory(data, text, (length + 1) * sizeof(wchar_t));
}

void WideText::Append(const wchar_t* text)
{
    int length = Length(), added = lstrlenW(text);
    // At least doubled, so a text joined from many parts is copied only a few times.
    if (length + added > capacity) Reserve(length + added > 2 * capacity ? length + added : 2 * capacity);
    CopyMemory(data + length, text, (added + 1) * sizeof(wchar_t));
}

void WideText::CutToFolder()
{
    int cut = -1;
    for (int i = 0; data[i]; ++i) {
        if (data[i] == L'\\' || data[i] == L'/') cut = i;
    }
    data[cut > 0 ? cut : 0] = L'\0';
}

void WideText::AddRootBackslash()
{
    if (Length() != 2 || data[1] != L':') return;
    Append(L"\\");
}

void WideText::ReplaceChar(wchar_t from, wchar_t to)
{
    // The end is fixed first: replacing by NUL must not end the walk early.
    for (wchar_t *p = data, *end = data + Length(); p < end; ++p) {
        if (*p == from) *p = to;
    }
}
