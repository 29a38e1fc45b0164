#include "support/WideText.h"

#include "common/TestFiles.h"
#include "support/TextBuffer.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

TEST(CommandLineArgument, CutAsTheAnsiEntryCutsIt)
{
    const struct { const wchar_t* line; const wchar_t* argument; } rows[] = {
        {L"Brumweld.exe clip.avi", L"clip.avi"},
        {L"\"C:\\My Tools\\Brumweld.exe\"  \"D:\\a b.avi\"", L"\"D:\\a b.avi\""},
        {L"Brumweld.exe\t\tx y", L"x y"},
        {L"\"C:\\a b\\p.exe\"x y", L"y"},
        {L"Brumweld.exe", L""},
        {L"Brumweld.exe   ", L""},
    };
    for (const auto& row : rows) EXPECT_EQ(std::wstring(row.argument), CommandLineArgument(row.line)) << Narrow(row.line);
}

TEST(NamesInCodePage, ExactTextOrShortNamesOfTheSameFiles)
{
    TempFolder temp;
    const std::wstring root = Widen(temp.Path());
    const std::wstring accented = root + L"\\caf\u00E9.avi", folder = root + L"\\\uCD9C\uB825";
    CloseHandle(CreateFileW(accented.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    TextBuffer ansi;

    // Exact: the code page's own bytes, half-width kana and kanji included.
    ASSERT_TRUE(ToAnsiExactly(L"\uFF76\uFF8C\uFF6A\u8868.avi", ansi));
    EXPECT_EQ(std::string("\xB6\xCC\xAA\x95\x5C.avi"), ansi.Data());
    // A best-fit look-alike ("e" for "\u00E9") is no exact text.
    EXPECT_FALSE(ToAnsiExactly(accented.c_str(), ansi));

    ASSERT_TRUE(ExistingNameInCodePage(accented.c_str(), ansi));
    HANDLE opened = CreateFileA(ansi.Data(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, opened) << ansi.Data();
    CloseHandle(opened);
    EXPECT_FALSE(ExistingNameInCodePage((root + L"\\\uC5C6\uC74C.avi").c_str(), ansi)) << "missing: no short name";

    // A new file: the folder by its short name, the file's own name as it is.
    ASSERT_TRUE(NewFileNameInCodePage((folder + L"\\new.flv").c_str(), ansi));
    const std::string written = ansi.Data();
    EXPECT_EQ("\\new.flv", written.substr(written.size() - 8));
    const DWORD shortFolder = GetFileAttributesA(written.substr(0, written.size() - 8).c_str());
    EXPECT_TRUE(shortFolder != INVALID_FILE_ATTRIBUTES && (shortFolder & FILE_ATTRIBUTE_DIRECTORY)) << written;
    EXPECT_FALSE(NewFileNameInCodePage((folder + L"\\\uACB0\uACFC.flv").c_str(), ansi));
    EXPECT_FALSE(NewFileNameInCodePage(L"\uACB0\uACFC.flv", ansi));
}

}  // namespace
