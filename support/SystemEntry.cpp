#include "support/SystemEntry.h"

#include <windows.h>

void* LoadSystemEntry(const char* dll, const char* name)
{
    HMODULE module = LoadLibraryA(dll);
    return module ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
}
