#pragma once

// True when both names open one and the same existing file, however each is spelt
// (case, short name, "..", relative to the current folder): the volume serial number
// and file index agree. False when either cannot be opened.
bool IsSameExistingFile(const wchar_t* first, const wchar_t* second);
