#include "support/TextFileWriter.h"

#include "support/TextBuffer.h"

#include <windows.h>

bool TextFileWriter::Open(const char* path, bool onlyNew)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, onlyNew ? CREATE_NEW : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        handle = nullptr;
        return false;
    }
    handle = file;
    whole = true;
    return true;
}

bool TextFileWriter::Close()
{
    if (!handle) return false;
    BOOL closed = CloseHandle(handle);
    handle = nullptr;
    return closed != FALSE;
}

bool TextFileWriter::Flush()
{
    return handle && FlushFileBuffers(handle) != FALSE;
}

unsigned long TextFileWriter::Write(const void* bytes, unsigned long count)
{
    DWORD written = 0;
    if (!WriteFile(handle, bytes, count, &written, nullptr)) written = 0;
    if (written != count) whole = false;
    return written;
}

unsigned long TextFileWriter::WriteChar(char c)
{
    return Write(&c, 1);
}

unsigned long TextFileWriter::WriteString(const char* text)
{
    return Write(text, lstrlenA(text));
}

unsigned long TextFileWriter::WriteNewLine()
{
    return Write("\r\n", 2);
}

void TextFileWriter::WriteIntLine(const char* name, int value)
{
    TextBuffer line;
    line.Reserve(lstrlenA(name) + 20);
    wsprintfA(line.Data(), "%s=%d\r\n", name, value);
    WriteString(line.Data());
}

void TextFileWriter::WriteTextLine(const char* name, const char* text)
{
    WriteString(name);
    WriteString("=");
    WriteString(text);
    WriteNewLine();
}
