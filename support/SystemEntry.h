#pragma once

// A function of a system DLL that most runs never call, found on first use: the DLL is
// loaded then, not at start, and stays loaded. Null when it cannot be found.
template <class Function>
Function SystemEntry(const char* dll, const char* name);

void* LoadSystemEntry(const char* dll, const char* name);

template <class Function>
Function SystemEntry(const char* dll, const char* name)
{
    return reinterpret_cast<Function>(LoadSystemEntry(dll, name));
}
