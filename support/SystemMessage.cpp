#include "support/SystemMessage.h"

#include "support/WideText.h"

void AppendSystemMessage(DWORD error, WideText& text)
{
    if (error == 0) return;
    wchar_t message[1024];
    const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    if (FormatMessageW(flags, nullptr, error, 0, message, sizeof message / sizeof message[0], nullptr) != 0) {
        text.Append(message);
    } else {
        wchar_t number[16];
        wsprintfW(number, L"%lu", error);
        text.Append(number);
    }
    int length = text.Length();
    if (length == 0 || text.Data()[length - 1] != L'\n') text.Append(L"\r\n");
}
