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

bool GetProgramFile(const char* name, TextBuffer& path)
{
    if (!GetWrittenProgramFolder(path)) return false;
    if (name) {
        path.Append("\\");
        path.Append(name);
    }
    return true;
}
