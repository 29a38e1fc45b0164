#include "support/CodePage.h"

#include "common/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

const UINT kShiftJis = 932;
// Half of a surrogate pair, which no code page converts; the compiler takes no such escape.
const std::wstring kLoneSurrogate = std::wstring(L"\\a") + wchar_t(0xD800) + L".avi";

std::string ShortName(const std::wstring& name)
{
    wchar_t written[MAX_PATH] = L"";
    GetShortPathNameW(name.c_str(), written, MAX_PATH);
    return Narrow(written);
}

// Every name the user can give, in both code pages a Japanese Windows runs with; relative
// names judged from the test's folder, never from the current one.
TEST(ResolveName, TheScriptsFormOfEveryKindOfName)
{
    TempFolder temp;
    const std::wstring t = Widen(temp.Path());
    const std::string ta = temp.Path();
    const std::wstring cafe = t + L"\\caf\u00E9.avi", outputs = t + L"\\\uCD9C\uB825", in = t + L"\\in.avi";
    for (const std::wstring& file : {cafe, in}) {
        CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    ASSERT_TRUE(CreateDirectoryW(outputs.c_str(), nullptr));
    // A file and a folder whose short names are another one's real name, as Wine allows: made
    // while the first is away, since Wine's short names come from a hash of the long name.
    const std::wstring shadowed = t + L"\\shadow\u00E9 file.avi", shadowedFolder = t + L"\\\uADF8\uB9BC\uC790";
    ASSERT_TRUE(CreateDirectoryW(shadowedFolder.c_str(), nullptr));
    CloseHandle(CreateFileW(shadowed.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    auto lastPart = [](const std::string& path) { return path.substr(path.rfind('\\') + 1); };
    for (const std::wstring& name : {shadowed, shadowedFolder}) {
        const std::string alias = lastPart(ShortName(name));
        ASSERT_TRUE(MoveFileW(name.c_str(), (t + L"\\away").c_str()));
        ASSERT_TRUE(CreateDirectoryW((t + L"\\" + Widen(alias)).c_str(), nullptr));
        ASSERT_TRUE(MoveFileW((t + L"\\away").c_str(), name.c_str()));
        ASSERT_EQ(alias, lastPart(ShortName(name))) << "the short name moved";
    }
    const std::wstring parent = t.substr(t.rfind(L'\\') + 1), rootless = t.substr(2);
    const std::string refused = "(refused)";

    const struct {
        std::wstring given;
        NameUse use;
        UINT page;
        std::string written;
        std::wstring file;
    } rows[] = {
        {in, ExistingFile, kShiftJis, ta + "\\in.avi", in},
        // Quotes go as the script drops them: "Copy as path", or a command line's stray one.
        {L"\"" + in + L"\"", ExistingFile, kShiftJis, ta + "\\in.avi", in},
        {in + L"\"", NewFile, kShiftJis, ta + "\\in.avi", in},
        {L"\"\"", NewFile, kShiftJis, refused, L""},
        // Relative names stay as written; the file is the one in the given folder.
        {L"in.avi", ExistingFile, kShiftJis, "in.avi", in},
        {L"..\\" + parent + L"\\.\\in.avi", ExistingFile, kShiftJis, Narrow(L"..\\" + parent + L"\\.\\in.avi"), in},
        {rootless + L"\\in.avi", NewFile, kShiftJis, Narrow(rootless) + "\\in.avi", in},
        {L"\uFF76\uFF8C\uFF6A\u8868.avi", NewFile, kShiftJis, "\xB6\xCC\xAA\x95\x5C.avi", t + L"\\\uFF76\uFF8C\uFF6A\u8868.avi"},
        // Outside the code page: the short name, also for a relative name.
        {cafe, ExistingFile, kShiftJis, ShortName(cafe), cafe},
        {L"caf\u00E9.avi", ExistingFile, kShiftJis, ShortName(cafe), cafe},
        {outputs + L"\\new.flv", NewFile, kShiftJis, ShortName(outputs) + "\\new.flv", outputs + L"\\new.flv"},
        {outputs + L"\\\uACB0\uACFC.flv", NewFile, kShiftJis, refused, L""},
        {t + L"\\\uC5C6\uC74C.avi", ExistingFile, kShiftJis, refused, L""},
        {outputs + L"\\new.flv", ExistingFile, kShiftJis, refused, L""},
        // A short name that opens another file or folder than the given one.
        {shadowed, ExistingFile, kShiftJis, refused, L""},
        {shadowedFolder + L"\\new.flv", NewFile, kShiftJis, refused, L""},
        // A drive's current folder is this process's, not the one cmd has.
        {t.substr(0, 2) + L"in.avi", ExistingFile, kShiftJis, refused, L""},
        {L"Z:", NewFile, kShiftJis, refused, L""},
        // No file name holds a control character; a line break would end the script's line.
        {in + L"\r\necho X> pwned.txt", NewFile, kShiftJis, refused, L""},
        {t + L"\\in\t.avi", ExistingFile, kShiftJis, refused, L""},
        {t + kLoneSurrogate, NewFile, kShiftJis, refused, L""},
        // Every form Windows takes for a network name is one, slashes too; a long local name is local.
        {L"//x/y/in.avi", NewFile, kShiftJis, "//x/y/in.avi", L"\\\\x\\y\\in.avi"},
        {L"\\\\?\\" + in, ExistingFile, kShiftJis, "\\\\?\\" + ta + "\\in.avi", L"\\\\?\\" + in},
        // A stream of a file ("::$DATA" is the file itself) and wildcards are no file's name.
        {L"in.avi::$DATA", NewFile, kShiftJis, refused, L""},
        {in + L":part", NewFile, kShiftJis, refused, L""},
        {t + L"\\*.avi", ExistingFile, kShiftJis, refused, L""},
        // UTF-8 holds every name; only what does not convert is refused.
        {cafe, ExistingFile, CP_UTF8, ta + "\\caf\xC3\xA9.avi", cafe},
        {outputs + L"\\\uACB0\uACFC.flv", NewFile, CP_UTF8, ta + "\\\xEC\xB6\x9C\xEB\xA0\xA5\\\xEA\xB2\xB0\xEA\xB3\xBC.flv",
         outputs + L"\\\uACB0\uACFC.flv"},
        {L"\"" + in + L"\"", ExistingFile, CP_UTF8, ta + "\\in.avi", in},
        {L"in.avi\n", NewFile, CP_UTF8, refused, L""},
        {t + kLoneSurrogate, NewFile, CP_UTF8, refused, L""},
    };
    for (const auto& row : rows) {
        WrittenName name;
        bool written = ResolveName(row.given.c_str(), t.c_str(), row.use, row.page, name) == NameUsable;
        EXPECT_EQ(row.written, written ? std::string(name.text.Data()) : refused) << Narrow(row.given) << " " << row.page;
        if (written) {
            EXPECT_EQ(row.file, name.file.Data()) << Narrow(row.given);
        }
    }
}

// The script's names are in the OEM page, and the encoder reads them back in the ANSI one:
// where the two are one page (932 here), a name is written as in the ANSI page.
TEST(ResolveName, TheScriptsPageIsTheOemOneAndTheAnsiOneMustHoldTheNameToo)
{
    ASSERT_EQ(GetACP(), GetOEMCP());
    TempFolder temp;
    WrittenName name;
    ASSERT_EQ(NameUsable, ResolveName(L"\uFF76\uFF8C\uFF6A.avi", Widen(temp.Path()).c_str(), NewFile, CP_OEMCP, name));
    EXPECT_STREQ("\xB6\xCC\xAA.avi", name.text.Data());
}

TEST(NetworkNames, EveryFormWindowsTakesForAShare)
{
    for (const wchar_t* network : {L"\\\\server\\share", L"//server/share", L"\\/server", L"/\\server\\x", L"\\\\?\\UNC\\s\\x"}) {
        EXPECT_TRUE(IsNetworkName(network)) << Narrow(network);
    }
    for (const wchar_t* local : {L"C:\\x", L"\\x", L"x\\\\y", L"\\\\?\\C:\\x", L"\\\\.\\C:\\x", L""}) {
        EXPECT_FALSE(IsNetworkName(local)) << Narrow(local);
    }
}

TEST(ToCodePageCut, AtMostTheFieldNeverHalfACharacter)
{
    const struct { const wchar_t* text; UINT page; const char* stored; } rows[] = {
        {L"29.97", kShiftJis, "29.97"},
        {L"123456789", kShiftJis, "12345678"},
        {L"1234567\u8868", kShiftJis, "1234567"},
        {L"123456\u8868", kShiftJis, "123456\x95\x5C"},
        {L"123456\u00E9", CP_UTF8, "123456\xC3\xA9"},
        {L"1234567\u00E9", CP_UTF8, "1234567"},
    };
    for (const auto& row : rows) {
        char stored[9];
        ToCodePageCut(row.text, row.page, stored, sizeof stored);
        EXPECT_STREQ(row.stored, stored) << Narrow(row.text);
    }
}

}  // namespace
