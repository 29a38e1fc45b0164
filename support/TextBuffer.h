#pragma once

// Growable, owned, NUL-terminated text in the ANSI code page. The capacity moves
// only in fixed classes, so the array can be handed straight to Windows functions
// that fill a caller's buffer: they are always given BufferSize().
class TextBuffer {
public:
    TextBuffer();
    explicit TextBuffer(int sizeRequest);
    ~TextBuffer();
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    void Release();
    void Reserve(int n);

    char* Data() { return data; }
    const char* Data() const { return data; }
    int Capacity() const { return capacity; }
    int BufferSize() const { return capacity + 1; }
    int Length() const;
    bool IsEmpty() const { return data == nullptr || data[0] == '\0'; }

    void Assign(const char* text);
    void Append(const char* text);

    int FindLast(char c) const;
    void ReplaceChar(char from, char to);
    void CopyTail(TextBuffer& destination, int start, int count) const;
    // The text up to its last backslash or slash, without it; empty when there is none.
    void CutToFolder();
    // The text after its last backslash or slash.
    void GetFileName(TextBuffer& destination) const;

private:
    void Allocate(int newCapacity);

    char* data;
    int capacity;
};
