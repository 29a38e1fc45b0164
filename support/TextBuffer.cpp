#include "support/TextBuffer.h"

#include <windows.h>

namespace {

int ConstructionCapacity(int n)
{
    if (n < 64) return 63;
    if (n < 128) return 127;
    if (n < 256) return 255;
    if (n < 512) return 511;
    return n;
}

int GrowthCapacity(int n)
{
    if (n < 128) return 127;
    if (n < 256) return 255;
    if (n < 512) return 511;
    if (n < 1024) return 1023;
    if (n < 2048) return 2047;
    return n;
}

int SeparatorPosition(const TextBuffer& text)
{
    int backslash = text.FindLast('\\'), slash = text.FindLast('/');
    return backslash > slash ? backslash : slash;
}

}  // namespace

TextBuffer::TextBuffer() : data(nullptr), capacity(0)
{
    Allocate(63);
    data[0] = '\0';
}

TextBuffer::TextBuffer(int sizeRequest) : data(nullptr), capacity(0)
{
    Allocate(ConstructionCapacity(sizeRequest));
    data[0] = '\0';
}

TextBuffer::~TextBuffer()
{
    Release();
}

void TextBuffer::Allocate(int newCapacity)
{
    char* array = new char[newCapacity + 1];
    array[newCapacity] = '\0';
    if (data) {
        CopyMemory(array, data, lstrlenA(data) + 1);
        delete[] data;
    }
    data = array;
    capacity = newCapacity;
}

void TextBuffer::Release()
{
    delete[] data;
    data = nullptr;
    capacity = 0;
}

void TextBuffer::Reserve(int n)
{
    if (capacity >= n) return;
    Allocate(GrowthCapacity(n));
}

int TextBuffer::Length() const
{
    return data ? lstrlenA(data) : 0;
}

void TextBuffer::Assign(const char* text)
{
    int length = lstrlenA(text);
    Reserve(length);
    MoveMemory(data, text, length + 1);
}

void TextBuffer::Append(const char* text)
{
    int length = Length(), added = lstrlenA(text);
    Reserve(length + added);
    CopyMemory(data + length, text, added + 1);
}

int TextBuffer::FindLast(char c) const
{
    int found = -1;
    for (const char* p = data; *p; p = CharNextA(p)) {
        if (*p == c) found = static_cast<int>(p - data);
    }
    return found;
}

void TextBuffer::ReplaceChar(char from, char to)
{
    // The end is fixed first: replacing by NUL must not end the walk early.
    char* end = data + Length();
    for (char* p = data; p < end;) {
        if (*p == from) {
            *p++ = to;
        } else {
            p = CharNextA(p);
        }
    }
}

void TextBuffer::CopyTail(TextBuffer& destination, int start, int count) const
{
    int available = Length() - start;
    if (count == -1 || count > available) count = available;
    destination.Reserve(count);
    lstrcpynA(destination.data, data + start, count + 1);
}

void TextBuffer::CutToFolder()
{
    int position = SeparatorPosition(*this);
    data[position == -1 ? 0 : position] = '\0';
}

void TextBuffer::GetFileName(TextBuffer& destination) const
{
    CopyTail(destination, SeparatorPosition(*this) + 1, -1);
}
