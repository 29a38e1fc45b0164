#pragma once

#include "support/CodePage.h"

#include <string>

// Standard strings through the program's one converter, in the given code page: what the
// tests and the host bridge use on either side of a name.
inline std::string ToNarrow(const std::wstring& text, UINT codePage)
{
    TextBuffer narrow;
    ToCodePage(text.c_str(), codePage, narrow);
    return narrow.Data();
}

inline std::wstring ToWide(const std::string& text, UINT codePage)
{
    WideText wide;
    FromCodePage(text.c_str(), codePage, wide);
    return wide.Data();
}
