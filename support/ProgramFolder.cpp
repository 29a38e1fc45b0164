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
    if (!GetProgramFolder(folder)) return false;
    // A program at a drive's root has the folder "E:", which as a current folder names that
    // drive's last folder, not its root.
    if (folder.Length() == 2 && folder.Data()[1] == ':') folder.Append("\\");
    return SetCurrentDirectoryA(folder.Data()) != FALSE;
}
