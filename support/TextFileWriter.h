#pragma once

// Write-only, create-always file without buffering of its own: every text goes straight to
// WriteFile (a name=value line as several writes). Whole() tells whether every write so far
// reached the file in full, so a caller can refuse to use a file that came out short.
class TextFileWriter {
public:
    TextFileWriter() = default;
    ~TextFileWriter() { Close(); }
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    // A new file, or one that replaces any file of that name; onlyNew refuses to touch one that exists.
    bool Open(const char* path, bool onlyNew = false);
    bool Close();
    // Sends what was written on to the disk; false when it could not.
    bool Flush();
    bool IsOpen() const { return handle != nullptr; }
    bool Whole() const { return whole; }

    unsigned long Write(const void* bytes, unsigned long count);
    unsigned long WriteChar(char c);
    unsigned long WriteString(const char* text);
    unsigned long WriteNewLine();
    void WriteIntLine(const char* name, int value);
    void WriteTextLine(const char* name, const char* text);

private:
    void* handle = nullptr;
    bool whole = true;
};
