#pragma once

class TextBuffer;
class WideText;

// The executable's own full name, whatever its length.
bool GetProgramPath(WideText& path);
// The folder of the executable, without a trailing backslash: as it is, or written in the
// code page (by its short name where the code page cannot hold it; false where there is none).
bool GetProgramFolder(WideText& folder);
bool GetWrittenProgramFolder(TextBuffer& folder);
// The program folder's file of that name (null: the folder itself), as the script and settings
// name it; false, with the path empty, when the folder has no name in the code page.
bool GetProgramFile(const char* name, TextBuffer& path);
