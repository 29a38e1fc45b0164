#pragma once

#include <windows.h>

class WideText;

// Adds the system's own words for an error, in the user's language, ended by a line end; its
// number where the system has no words for it, and nothing for 0.
void AppendSystemMessage(DWORD error, WideText& text);
