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

// File systems that give no identity (SMB shares, some virtual drives give a zero serial or
// index): Wine's give one, so the identities are made here. A known identity decides; an
// unknown one leaves it to the full long names, never to the zeros.
TEST(IsSameFile, AZeroSerialOrIndexLeavesItToTheLongNames)
{
    TempFolder temp;
    const std::wstring a = Widen(temp.File("first file.avi")), b = Widen(temp.File("second file.avi"));
    WriteFileBytes(temp.File("first file.avi"), "a");
    WriteFileBytes(temp.File("second file.avi"), "b");
    wchar_t shortA[MAX_PATH] = L"";
    ASSERT_NE(0u, GetShortPathNameW(a.c_str(), shortA, MAX_PATH));
    ASSERT_NE(a, shortA);
    const struct { BY_HANDLE_FILE_INFORMATION first, second; std::wstring firstName, secondName; bool same; } rows[] = {
        {Identity(7, 0, 1), Identity(7, 0, 1), a, b, true},
        {Identity(7, 0, 1), Identity(7, 0, 2), a, a, false},
        {Identity(0, 0, 0), Identity(0, 0, 0), a, b, false},
        {Identity(0, 0, 5), Identity(0, 0, 5), a, b, false},
        {Identity(7, 0, 0), Identity(7, 0, 0), a, shortA, true},
        {Identity(7, 0, 1), Identity(0, 0, 2), a, Widen(temp.Path() + "\\.\\FIRST FILE.AVI"), true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.same, IsSameFile(row.first, row.firstName.c_str(), row.second, row.secondName.c_str()))
            << Narrow(row.firstName) << " / " << Narrow(row.secondName);
    }
}

}  // namespace
