#include "support/FileIdentity.h"

#include "common/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

BY_HANDLE_FILE_INFORMATION Identity(DWORD serial, DWORD high, DWORD low)
{
    BY_HANDLE_FILE_INFORMATION information = {};
    information.dwVolumeSerialNumber = serial;
    information.nFileIndexHigh = high;
    information.nFileIndexLow = low;
    return information;
}

// File systems that give no identity (SMB shares, WebDAV, some virtual drives give a zero serial or
// index): Wine's give one, so the identities are made here. A known identity decides; an unknown
// one leaves it to where the names lead (a link made by the host's ln; the program tests take a
// mapped drive letter), never to the zeros.
TEST(IsSameFile, AZeroSerialOrIndexLeavesItToWhereTheNamesLead)
{
    TempFolder temp;
    const std::wstring a = Widen(temp.File("first file.avi")), b = Widen(temp.File("second file.avi"));
    WriteFileBytes(temp.File("first file.avi"), "a");
    WriteFileBytes(temp.File("second file.avi"), "b");
    wchar_t shortA[MAX_PATH] = L"";
    ASSERT_NE(0u, GetShortPathNameW(a.c_str(), shortA, MAX_PATH));
    ASSERT_NE(a, shortA);
    const std::wstring link = Widen(temp.File("link.avi"));
    RunAndCapture(ExecutableFolder() + "\\ln.exe -s \"" + temp.File("first file.avi") + "\" \"" + temp.File("link.avi") + "\"");
    ASSERT_TRUE(FileExists(temp.File("link.avi")));
    const struct { BY_HANDLE_FILE_INFORMATION first, second; std::wstring firstName, secondName; bool same; } rows[] = {
        {Identity(7, 0, 1), Identity(7, 0, 1), a, b, true},
        {Identity(7, 0, 1), Identity(7, 0, 2), a, a, false},
        {Identity(0, 0, 0), Identity(0, 0, 0), a, b, false},
        {Identity(0, 0, 5), Identity(0, 0, 5), a, b, false},
        {Identity(7, 0, 0), Identity(7, 0, 0), a, shortA, true},
        {Identity(7, 0, 1), Identity(0, 0, 2), a, Widen(temp.Path() + "\\.\\FIRST FILE.AVI"), true},
        {Identity(0, 0, 0), Identity(0, 0, 0), link, a, true},
        {Identity(0, 0, 0), Identity(0, 0, 0), link, b, false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.same, IsSameFile(row.first, row.firstName.c_str(), row.second, row.secondName.c_str()))
            << Narrow(row.firstName) << " / " << Narrow(row.secondName);
    }
}

}  // namespace
