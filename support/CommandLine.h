#pragma once

// What follows the program's name on a command line, after the blanks: the text an ANSI
// WinMain receives, here in full.
const wchar_t* CommandLineArgument(const wchar_t* line);
