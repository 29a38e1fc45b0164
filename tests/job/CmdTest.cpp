#include "job/Cmd.h"

#include "common/TestFiles.h"
#include "support/WideText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::wstring Block(const WideText& block)
{
    const wchar_t* end = block.Data();
    while (*end) end += lstrlenW(end) + 1;
    return std::wstring(block.Data(), end);
}

// cmd's line, as Windows documents its switches, its environment and the folders it runs scripts in: every part is there for a setting of the user's
// that Wine's cmd ignores (AutoRun, DelayedExpansion, the console's code page, a folder's %NAME%).
TEST(Cmd, LineEnvironmentAndFolders)
{
    const struct { const wchar_t* system; UINT page; const wchar_t* line; } lines[] = {
        {L"C:\\Windows\\system32", 932,
         L"\"C:\\Windows\\system32\\cmd.exe\" /d /v:off /s /c \"\"C:\\Windows\\system32\\chcp.com\" 932 >nul & \".\\~enc.bat\"\""},
        {L"D:\\W & X\\system32", 65001,
         L"\"D:\\W & X\\system32\\cmd.exe\" /d /v:off /s /c \"\"D:\\W & X\\system32\\chcp.com\" 65001 >nul & \".\\~enc.bat\"\""},
        {L"C:\\%WINDIR%\\system32", 850, nullptr},
    };
    for (const auto& row : lines) {
        WideText program, line;
        ASSERT_EQ(row.line != nullptr, MakeCmdLine(row.system, row.page, program, line)) << Narrow(row.system);
        if (!row.line) continue;
        EXPECT_EQ(std::wstring(row.system) + L"\\cmd.exe", program.Data());
        EXPECT_EQ(row.line, std::wstring(line.Data()));
    }

    // The variable goes in any case; the per-drive folders (=C:) and every other variable stay.
    const struct { std::wstring given, kept; } environments[] = {
        {std::wstring(L"A=1\0NoDefaultCurrentDirectoryInExePath=1\0=C:=C:\\x\0", 50) + L'\0',
         std::wstring(L"A=1\0=C:=C:\\x\0", 13)},
        {std::wstring(L"NODEFAULTCURRENTDIRECTORYINEXEPATH=\0NoDefaultCurrentDirectoryInExePathX=2\0", 74) + L'\0',
         std::wstring(L"NoDefaultCurrentDirectoryInExePathX=2\0", 38)},
        {std::wstring(1, L'\0'), std::wstring()},
    };
    for (const auto& row : environments) {
        WideText block;
        MakeCmdEnvironment(row.given.c_str(), block);
        EXPECT_EQ(row.kept, Block(block));
    }

    for (const wchar_t* network : {L"\\\\server\\share\\x", L"//server/share", L"\\/server\\share"}) {
        EXPECT_FALSE(RunsScriptsIn(network)) << Narrow(network);
    }
    for (const wchar_t* local : {L"C:\\Brumweld", L"C:", L"\\\\?\\C:\\Brumweld"}) EXPECT_TRUE(RunsScriptsIn(local)) << Narrow(local);
}

// cmd finds the encoder where Run found it only if it is a program this Windows runs: a DOS
// program named mencoder.exe is no encoder, and ends the search as cmd's would.
TEST(Cmd, OnlyAProgramThisWindowsRunsIsFound)
{
    TempFolder folder;
    std::string dos(512, '\0');
    dos[0] = 'M';
    dos[1] = 'Z';
    dos[8] = 4;
    WriteFileBytes(folder.File("mencoder.exe"), dos);
    EXPECT_FALSE(FindsProgram(Widen(folder.Path()).c_str(), L"mencoder.exe"));
    ASSERT_TRUE(CopyFileA((ExecutableFolder() + "\\mencoder.exe").c_str(), folder.File("mencoder.exe").c_str(), FALSE));
    EXPECT_TRUE(FindsProgram(Widen(folder.Path()).c_str(), L"mencoder.exe"));
}

}  // namespace
