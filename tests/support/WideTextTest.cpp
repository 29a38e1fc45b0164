#include "support/WideText.h"

#include "common/TestFiles.h"
#include "support/CommandLine.h"
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

// Both texts cut a name at its last separator of either kind, as Windows reads it.
TEST(WideText, CutToFolderAsTheNarrowTextDoes)
{
    for (const char* name : {"C:\\x/y\\z", "C:\\x\\y/z", "D:/a/b", "\\clip.avi", "C:\\clip.avi", "clip.avi"}) {
        TextBuffer narrow;
        narrow.Assign(name);
        narrow.CutToFolder();
        WideText wide;
        wide.Assign(Widen(name).c_str());
        wide.CutToFolder();
        EXPECT_EQ(narrow.Data(), Narrow(wide.Data())) << name;
    }
}

}  // namespace
