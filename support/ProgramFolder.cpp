#include "support/ProgramFolder.h"

#include "support/CodePage.h"
#include "support/TextBuffer.h"
#include "support/WideText.h"

#include <windows.h>

bool GetProgramPath(WideText& path)
{
    path.Reserve(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.Data(), path.BufferSize());
        if (length == 0) return false;
        if (length < static_cast<DWORD>(path.BufferSize())) return true;
        path.Reserve(2 * path.BufferSize());
    }
}

bool GetProgramFolder(WideText& folder)
{
    if (!GetProgramPath(folder)) return false;
    folder.CutToFolder();
    return true;
}

bool GetWrittenProgramFolder(TextBuffer& folder)
{
    WideText wide;
    folder.Assign("");
    return GetProgramFolder(wide) && ResolveFolderName(wide.Data(), CP_ACP, folder);
}

bool GoToProgramFolder()
{
    TextBuffer folder;
    if (!GetWrittenProgramFolder(folder)) return false;
    // A program at a drive's root has the folder "E:", which as a current folder names that
    // drive's last folder, not its root.
    if (folder.Length() == 2 && folder.Data()[1] == ':') folder.Append("\\");
    return SetCurrentDirectoryA(folder.Data()) != FALSE;
}

bool TextBuffer::SetToProgramPath(const char* name)
{
    if (!GetWrittenProgramFolder(*this)) return false;
    if (name) {
        Append("\\");
        Append(name);
    }
    return true;
}
