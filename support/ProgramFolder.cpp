#include "support/TextBuffer.h"

#include <windows.h>

bool GetProgramFolder(TextBuffer& folder)
{
    folder.Reserve(500);
    if (GetModuleFileNameA(nullptr, folder.Data(), folder.BufferSize()) == 0) return false;
    folder.CutToFolder();
    return true;
}

bool GoToProgramFolder()
{
    TextBuffer folder;
    folder.Reserve(500);
    return GetProgramFolder(folder) && SetCurrentDirectoryA(folder.Data());
}
