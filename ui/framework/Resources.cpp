#include "ui/framework/Resources.h"

#include "support/WideText.h"

HINSTANCE ModuleHandle() { return GetModuleHandleA(nullptr); }

HICON LoadIconImage(WORD id, int size)
{
    return static_cast<HICON>(LoadImageA(ModuleHandle(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

void LoadResourceText(UINT id, WideText& text)
{
    // Asked for no copy, LoadStringW points at the entry in the module and gives its length.
    const wchar_t* entry = nullptr;
    int length = LoadStringW(ModuleHandle(), id, reinterpret_cast<LPWSTR>(&entry), 0);
    text.Reserve(length);
    if (length > 0) CopyMemory(text.Data(), entry, length * sizeof(wchar_t));
    text.Data()[length > 0 ? length : 0] = L'\0';
}
