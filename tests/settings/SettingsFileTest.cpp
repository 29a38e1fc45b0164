#include "settings/SettingsFile.h"

#include "common/TestFiles.h"
#include "job/EncodeSettings.h"
#include "settings/ProfileReader.h"
#include "support/TextBuffer.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

StoredPosition At(int x, int y)
{
    StoredPosition position;
    position.x = x;
    position.y = y;
    return position;
}

std::string Describe(const EncodeSettings& s)
{
    std::ostringstream out;
    out << "mode=" << s.mode << " videoBitrate=" << s.videoBitrate << " quality=" << s.quality << " framerate=["
        << s.framerate << "] bSize=" << s.bSize << " size=[" << s.size << "] channel=" << s.channel
        << " audioBitrate=" << s.audioBitrate << " compqua=" << s.compqua << " samprate=" << s.samprate
        << " OptFlag=" << s.OptFlag << " InputDir=[" << s.InputDir.Data() << "] OutputDir=[" << s.OutputDir.Data()
        << "] Player=[" << s.Player.Data() << "]";
    return out.str();
}

// Shift-JIS: C:\ビデオ\表示, the last with a backslash as its trail byte.
const char kJapaneseFolder[] = "C:\\\x83\x72\x83\x66\x83\x49\\\x95\x5C\x8E\xA6";

const char kExampleFile[] =
    "[Brumweld]\r\nWinX=412\r\nWinY=236\r\nOptFlag=0\r\nInputDir=\r\nOutputDir=\r\nPlayer=\r\n"
    "[Video]\r\nmode=0\r\nbitrate=300\r\nquality=4\r\nframerate=30\r\nbSize=0\r\nsize=320x240\r\n"
    "[Audio]\r\nchannel=0\r\nbitrate=64\r\ncompqua=2\r\nsamprate=2\r\n";

const std::string kFullFile = std::string(
    "[Brumweld]\r\nWinX=-8\r\nWinY=-30\r\nOptFlag=65535\r\nInputDir=") + kJapaneseFolder +
    "\r\nOutputDir=D:\\Flash\r\nPlayer=C:\\Tools\\player.exe\r\n"
    "[Video]\r\nmode=2\r\nbitrate=-5\r\nquality=31\r\nframerate=23.976fp\r\nbSize=1\r\nsize=640x480\r\n"
    "[Audio]\r\nchannel=3\r\nbitrate=128\r\ncompqua=9\r\nsamprate=0\r\n";

void SetEveryField(EncodeSettings& s)
{
    s.mode = 2;
    s.videoBitrate = -5;
    s.quality = 31;
    lstrcpyA(s.framerate, "23.976fp");
    s.bSize = 1;
    lstrcpyA(s.size, "640x480");
    s.channel = 3;
    s.audioBitrate = 128;
    s.compqua = 9;
    s.samprate = 0;
    s.OptFlag = 0xFFFF;
    s.InputDir.Assign(kJapaneseFolder);
    s.OutputDir.Assign("D:\\Flash");
    s.Player.Assign("C:\\Tools\\player.exe");
}

class SettingsFile : public testing::Test {
protected:
    // The profile functions may keep a file they read; a file written afresh must be read afresh.
    void Load(EncodeSettings& settings)
    {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
        LoadSettingsFile(settings, position, path.c_str());
    }

    void LoadText(const std::string& text, EncodeSettings& settings)
    {
        WriteFileBytes(path, text);
        Load(settings);
    }

    bool Save(const EncodeSettings& settings) { return SaveSettingsFile(settings, position, path.c_str()); }

    TempFolder folder;
    const std::string path = folder.File("Brumweld.ini");
    StoredPosition position;
};

TEST_F(SettingsFile, ExampleLayout)
{
    EncodeSettings settings;
    SetDefaultSettings(settings);
    position = At(412, 236);
    EXPECT_TRUE(Save(settings));
    EXPECT_EQ(kExampleFile, ReadFileBytes(path));
    EXPECT_FALSE(FileExists(SettingsTemporary(path)));
}

TEST_F(SettingsFile, EveryFieldWrittenByteForByte)
{
    EncodeSettings settings;
    SetEveryField(settings);
    position = At(-8, -30);
    EXPECT_TRUE(Save(settings));
    EXPECT_EQ(kFullFile, ReadFileBytes(path));
}

TEST_F(SettingsFile, ReadsBackWhatItWrote)
{
    EncodeSettings settings, expected;
    SetEveryField(expected);
    LoadText(kFullFile, settings);
    EXPECT_EQ(Describe(expected), Describe(settings));
    EXPECT_EQ(-8, position.x);
    EXPECT_EQ(-30, position.y);
    // Saving again gives the same bytes.
    EXPECT_TRUE(Save(settings));
    EXPECT_EQ(kFullFile, ReadFileBytes(path));
    EncodeSettings again;
    Load(again);
    EXPECT_TRUE(Save(again));
    EXPECT_EQ(kFullFile, ReadFileBytes(path));
}

// Long values come back whole, and a settings file whose own name just fits MAX_PATH is saved:
// the file it is written to first is no longer than it.
TEST_F(SettingsFile, LongValuesRoundTripWholeInAFolderAsLongAsItsNameAllows)
{
    std::string deep = folder.Path();
    while (deep.size() < MAX_PATH - 1 - 13) {
        deep += "\\" + std::string(std::min<size_t>(100, MAX_PATH - 1 - 13 - deep.size() - 1), 'd');
        ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep.size();
    }
    const std::string file = deep + "\\Brumweld.ini";
    ASSERT_EQ(MAX_PATH - 1u, file.size());
    EncodeSettings settings, again;
    SetEveryField(settings);
    // A 600-byte player path.
    settings.Player.Assign(("C:\\" + std::string(597, 'p')).c_str());
    settings.InputDir.Assign(("C:\\" + std::string(300, 'i')).c_str());
    settings.OutputDir.Assign(("C:\\" + std::string(280, 'o')).c_str());
    EXPECT_TRUE(SaveSettingsFile(settings, position, file.c_str()));
    LoadSettingsFile(again, position, file.c_str());
    EXPECT_EQ(Describe(settings), Describe(again));
    EXPECT_FALSE(FileExists(SettingsTemporary(file)));
}

TEST_F(SettingsFile, WithoutAFileEverythingIsDefaultAndNoPositionIsStored)
{
    EncodeSettings settings, expected;
    SetDefaultSettings(expected);
    settings.InputDir.Assign("left from before");
    settings.Player.Assign("left from before");
    settings.OptFlag = 3;
    position = At(1, 2);
    Load(settings);
    EXPECT_EQ(Describe(expected), Describe(settings));
    EXPECT_FALSE(position.IsStored());
    EXPECT_EQ(255, settings.InputDir.Capacity());
    EXPECT_EQ(255, settings.OutputDir.Capacity());
    EXPECT_EQ(511, settings.Player.Capacity());
}

struct ReadRow {
    const char* what;
    std::string text;
    std::function<void(EncodeSettings&)> change;
};

std::vector<ReadRow> ReadRows()
{
    return {
        {"only [Video] and mode", "[Video]\r\nmode=1\r\n", [](EncodeSettings& s) { s.mode = 1; }},
        {"other case, spaces", "[video]\r\nMode = 2\r\n", [](EncodeSettings& s) { s.mode = 2; }},
        {"comments, blank lines, other sections",
         "; by hand\r\n[Other]\r\nmode=3\r\n\r\n[VIDEO]\r\nquality = 9\r\n", [](EncodeSettings& s) { s.quality = 9; }},
        {"OptFlag low 16 bits", "[Brumweld]\r\nOptFlag=65543\r\n", [](EncodeSettings& s) { s.OptFlag = 7; }},
        {"OptFlag meaningless bit", "[Brumweld]\r\nOptFlag=8\r\n", [](EncodeSettings& s) { s.OptFlag = 8; }},
        {"12-character framerate", "[Video]\r\nframerate=29.97002997x\r\n",
         [](EncodeSettings& s) { lstrcpyA(s.framerate, "29.970029"); }},
        {"long size", "[Video]\r\nsize=1920x1080p60\r\n", [](EncodeSettings& s) { lstrcpyA(s.size, "1920x1080"); }},
        {"audio bitrate only", "[Audio]\r\nbitrate=128\r\n", [](EncodeSettings& s) { s.audioBitrate = 128; }},
        {"video bitrate only", "[Video]\r\nbitrate=999\r\n", [](EncodeSettings& s) { s.videoBitrate = 999; }},
        {"negative numbers",
         "[Video]\r\nbitrate=-5\r\nquality=-1\r\nbSize=-2\r\n[Audio]\r\nchannel=-3\r\nsamprate=-1\r\ncompqua=-9\r\n",
         [](EncodeSettings& s) {
             s.videoBitrate = -5;
             s.quality = -1;
             s.bSize = -2;
             s.channel = -3;
             s.samprate = -1;
             s.compqua = -9;
         }},
        {"empty values", "[Video]\r\nbitrate=\r\nsize=\r\n", [](EncodeSettings& s) { s.size[0] = '\0'; }},
        {"long folders and player, whole",
         "[Brumweld]\r\nInputDir=" + std::string(300, 'i') + "\r\nOutputDir=" + std::string(256, 'o') +
             "\r\nPlayer=" + std::string(600, 'p') + "\r\n",
         [](EncodeSettings& s) {
             s.InputDir.Assign(std::string(300, 'i').c_str());
             s.OutputDir.Assign(std::string(256, 'o').c_str());
             s.Player.Assign(std::string(600, 'p').c_str());
         }},
        {"Shift-JIS folder", std::string("[Brumweld]\r\nOutputDir=") + kJapaneseFolder + "\r\n",
         [](EncodeSettings& s) { s.OutputDir.Assign(kJapaneseFolder); }},
    };
}

TEST_F(SettingsFile, Reading)
{
    for (const ReadRow& row : ReadRows()) {
        EncodeSettings settings, expected;
        SetDefaultSettings(expected);
        row.change(expected);
        LoadText(row.text, settings);
        EXPECT_EQ(Describe(expected), Describe(settings)) << row.what;
    }
}

// Each key alone in a file fills its own field, or the position, and is saved on its own line
// of the fixed layout.
TEST_F(SettingsFile, EveryKeyRoundTripsThroughTheFile)
{
    using Change = std::function<void(EncodeSettings&, StoredPosition&)>;
    const struct { const char* section; const char* line; Change change; } keys[] = {
        {"Brumweld", "WinX=17", [](EncodeSettings&, StoredPosition& p) { p.x = 17; }},
        {"Brumweld", "WinY=-3", [](EncodeSettings&, StoredPosition& p) { p.y = -3; }},
        {"Brumweld", "OptFlag=5", [](EncodeSettings& s, StoredPosition&) { s.OptFlag = 5; }},
        {"Brumweld", "InputDir=C:\\in", [](EncodeSettings& s, StoredPosition&) { s.InputDir.Assign("C:\\in"); }},
        {"Brumweld", "OutputDir=D:\\out", [](EncodeSettings& s, StoredPosition&) { s.OutputDir.Assign("D:\\out"); }},
        {"Brumweld", "Player=C:\\p.exe", [](EncodeSettings& s, StoredPosition&) { s.Player.Assign("C:\\p.exe"); }},
        {"Video", "mode=2", [](EncodeSettings& s, StoredPosition&) { s.mode = 2; }},
        {"Video", "bitrate=900", [](EncodeSettings& s, StoredPosition&) { s.videoBitrate = 900; }},
        {"Video", "quality=17", [](EncodeSettings& s, StoredPosition&) { s.quality = 17; }},
        {"Video", "framerate=29.97", [](EncodeSettings& s, StoredPosition&) { lstrcpyA(s.framerate, "29.97"); }},
        {"Video", "bSize=1", [](EncodeSettings& s, StoredPosition&) { s.bSize = 1; }},
        {"Video", "size=640x480", [](EncodeSettings& s, StoredPosition&) { lstrcpyA(s.size, "640x480"); }},
        {"Audio", "channel=3", [](EncodeSettings& s, StoredPosition&) { s.channel = 3; }},
        {"Audio", "bitrate=128", [](EncodeSettings& s, StoredPosition&) { s.audioBitrate = 128; }},
        {"Audio", "compqua=7", [](EncodeSettings& s, StoredPosition&) { s.compqua = 7; }},
        {"Audio", "samprate=1", [](EncodeSettings& s, StoredPosition&) { s.samprate = 1; }},
    };
    for (const auto& key : keys) {
        EncodeSettings settings, expected;
        StoredPosition expectedPosition;
        SetDefaultSettings(expected);
        key.change(expected, expectedPosition);
        LoadText("[" + std::string(key.section) + "]\r\n" + key.line + "\r\n", settings);
        EXPECT_EQ(Describe(expected), Describe(settings)) << key.line;
        EXPECT_EQ(expectedPosition.x, position.x) << key.line;
        EXPECT_EQ(expectedPosition.y, position.y) << key.line;

        // The example file with no position, the key's line in its own section swapped in.
        std::string file = kExampleFile;
        file.replace(file.find("WinX=412"), 8, "WinX=-1000").replace(file.find("WinY=236"), 8, "WinY=-1000");
        const std::string name = std::string(key.line).substr(0, std::string(key.line).find('=') + 1);
        size_t at = file.find("\r\n" + name, file.find("[" + std::string(key.section) + "]")) + 2;
        file.replace(at, file.find("\r\n", at) - at, key.line);
        EXPECT_TRUE(Save(settings));
        EXPECT_EQ(file, ReadFileBytes(path)) << key.line;
    }
}

TEST_F(SettingsFile, AHandEditedFileIsRewrittenInTheFixedLayout)
{
    EncodeSettings settings;
    LoadText("; by hand\r\n[video]\r\nMode = 2\r\nextra=1\r\n", settings);
    position = At(412, 236);
    EXPECT_TRUE(Save(settings));
    std::string expected = kExampleFile;
    expected.replace(expected.find("mode=0"), 6, "mode=2");
    EXPECT_EQ(expected, ReadFileBytes(path));
}

struct PositionRow {
    const char* text;
    bool centred;
    LONG x, y;
};

TEST_F(SettingsFile, StoredPosition)
{
    const PositionRow rows[] = {
        {"[Brumweld]\r\nWinX=-8\r\nWinY=-30\r\n", false, -8, -30},
        {"[Brumweld]\r\nWinX=700\r\nWinY=5\r\n", false, 700, 5},
        {"[Brumweld]\r\nWinX=-1000\r\nWinY=30\r\n", true, 0, 0},
        {"[Brumweld]\r\nWinX=30\r\nWinY=-1000\r\n", true, 0, 0},
        {"[Brumweld]\r\nWinX=30\r\n", true, 0, 0},
    };
    for (const PositionRow& row : rows) {
        EncodeSettings settings;
        position = At(1, 2);
        LoadText(row.text, settings);
        if (row.centred) {
            EXPECT_FALSE(position.IsStored()) << row.text;
        } else {
            EXPECT_EQ(row.x, position.x) << row.text;
            EXPECT_EQ(row.y, position.y) << row.text;
        }
    }
}

TEST_F(SettingsFile, AMissingFolderCreatesNothing)
{
    EncodeSettings settings;
    SetDefaultSettings(settings);
    const std::string missing = folder.File("missing\\Brumweld.ini");
    EXPECT_FALSE(SaveSettingsFile(settings, position, missing.c_str()));
    EXPECT_FALSE(FileExists(missing));
    EXPECT_FALSE(FileExists(SettingsTemporary(missing)));
}

TEST(ProfileReaderTest, ReadsTheCurrentSection)
{
    TempFolder folder;
    const std::string path = folder.File("r.ini");
    WriteFileBytes(path, "[A]\r\nn=-12\r\nt=abcdef\r\n[B]\r\nn=7\r\n");
    ProfileReader reader;
    reader.SetFile(path.c_str());
    reader.SetSection("A");
    EXPECT_EQ(-12, reader.ReadInt("n", 1));
    char text[4];
    reader.ReadString("t", text, sizeof text, "x");
    EXPECT_STREQ("abc", text);
    reader.SetSection("B");
    EXPECT_EQ(7, reader.ReadInt("n", 1));
    EXPECT_EQ(99, reader.ReadInt("t", 99));
    TextBuffer buffer;
    buffer.Assign("old");
    reader.ReadString("t", buffer, "fallback");
    EXPECT_STREQ("fallback", buffer.Data());
}

// "Brumweld.ini" beside the test executable, put back as it was afterwards.
class ProgramFolderFile : public testing::Test {
protected:
    void SetUp() override
    {
        existed = FileExists(path);
        if (existed) saved = ReadFileBytes(path);
        Remove();
    }

    void TearDown() override
    {
        Remove();
        if (existed) WriteFileBytes(path, saved);
    }

    void Remove()
    {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
        DeleteFileA(SettingsTemporary(path).c_str());
    }

    const std::string path = ExecutableFolder() + "\\Brumweld.ini";
    bool existed = false;
    std::string saved;
    StoredPosition position;
};

TEST_F(ProgramFolderFile, LoadAndSaveUseTheFileBesideTheExecutable)
{
    EncodeSettings settings;
    SetDefaultSettings(settings);
    position = At(412, 236);
    SaveSettingsFile(settings, position);
    EXPECT_EQ(kExampleFile, ReadFileBytes(path));

    WriteFileBytes(path, kFullFile);
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
    EncodeSettings loaded, expected;
    SetEveryField(expected);
    LoadSettingsFile(loaded, position);
    EXPECT_EQ(Describe(expected), Describe(loaded));
    EXPECT_EQ(-8, position.x);
}

TEST_F(ProgramFolderFile, AReadOnlyHiddenOrSystemFileStaysAsItWas)
{
    for (DWORD mark : {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
        Remove();
        WriteFileBytes(path, kFullFile);
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), mark));
        EncodeSettings settings;
        SetDefaultSettings(settings);
        EXPECT_EQ(0u, SaveSettingsFile(settings, position)) << "a file left as it is is no failure: " << mark;
        EXPECT_EQ(kFullFile, ReadFileBytes(path)) << mark;
        EXPECT_NE(0u, GetFileAttributesA(path.c_str()) & mark) << mark;
        EXPECT_FALSE(FileExists(SettingsTemporary(path))) << mark;
    }
}

TEST_F(ProgramFolderFile, AFileHeldWithoutSharingStaysAsItWas)
{
    WriteFileBytes(path, kFullFile);
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EncodeSettings settings;
    SetDefaultSettings(settings);
    EXPECT_NE(0u, SaveSettingsFile(settings, position)) << "the failure has the system's reason";
    CloseHandle(held);
    EXPECT_EQ(kFullFile, ReadFileBytes(path));
    EXPECT_FALSE(FileExists(SettingsTemporary(path)));
}

TEST(FullDisk, SavingLeavesTheOldFileWhole)
{
    std::string reason;
    const std::string folder = FullDiskFolder(reason);
    if (folder.empty()) GTEST_SKIP() << reason;
    const std::string path = folder + "\\Brumweld.ini";
    const std::string before = ReadFileBytes(path);
    ASSERT_FALSE(before.empty());

    // Nothing more fits: otherwise this test would prove nothing.
    HANDLE probe = CreateFileA((folder + "\\probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, probe);
    std::string block(4096, 'x');
    DWORD written = 0;
    WriteFile(probe, block.data(), block.size(), &written, nullptr);
    CloseHandle(probe);
    DeleteFileA((folder + "\\probe").c_str());
    ASSERT_LT(written, block.size());

    StoredPosition position;
    EncodeSettings settings;
    SetEveryField(settings);
    EXPECT_FALSE(SaveSettingsFile(settings, position, path.c_str()));
    EXPECT_EQ(before, ReadFileBytes(path));
    EXPECT_FALSE(FileExists(SettingsTemporary(path)));
}

// Windows refuses the replace while a virus scanner or sync client holds the settings file
// without delete sharing; Wine allows it, so the refusals come from a replacer that fails as
// Windows would, a given number of times, with the given error.
int replaceCalls = 0, replaceFailures = 0;
DWORD replaceError = 0;
BOOL WINAPI FailingReplace(LPCSTR from, LPCSTR to, DWORD flags)
{
    if (++replaceCalls > replaceFailures) return MoveFileExA(from, to, flags);
    SetLastError(replaceError);
    return FALSE;
}

TEST_F(SettingsFile, AFileHeldForAMomentIsReplacedOnceFreeAndOneHeldLongerStaysWhole)
{
    const struct { int failures; DWORD error; bool saved; int calls; } rows[] = {
        {1, ERROR_SHARING_VIOLATION, true, 2},
        {5, ERROR_ACCESS_DENIED, true, 6},
        {1000, ERROR_SHARING_VIOLATION, false, 20},
        {1000, ERROR_DISK_FULL, false, 1},
    };
    EncodeSettings settings;
    SetEveryField(settings);
    for (const auto& row : rows) {
        WriteFileBytes(path, "[Video]\r\nbitrate=123\r\n");
        replaceCalls = 0;
        replaceFailures = row.failures;
        replaceError = row.error;
        EXPECT_EQ(row.saved, SaveSettingsFile(settings, position, path.c_str(), FailingReplace)) << row.failures;
        if (!row.saved) {
            EXPECT_EQ(row.error, GetLastError()) << row.failures;
        }
        EXPECT_EQ(row.calls, replaceCalls) << row.failures;
        if (row.saved) {
            EXPECT_NE(std::string::npos, ReadFileBytes(path).find("OutputDir=D:\\Flash")) << row.failures;
        } else {
            EXPECT_EQ("[Video]\r\nbitrate=123\r\n", ReadFileBytes(path)) << row.failures;
        }
        EXPECT_FALSE(FileExists(SettingsTemporary(path))) << row.failures;
    }
}

// Notepad's "Unicode" saves the file as UTF-16, which the profile functions read, and its "UTF-8
// with BOM" as UTF-8 with a mark, which Windows' profile functions take for the code page (Wine's
// decode it): such a file is read from a UTF-16 copy. A name the code page cannot hold is taken as
// its short name (the file it names, checked by identity), or left empty, never narrowed to a
// look-alike such as cafe.exe beside café.exe.
TEST_F(SettingsFile, UnicodeFilesGiveTheNamedFilesNeverALookAlike)
{
    const std::wstring f = Widen(folder.Path());
    ASSERT_TRUE(CreateDirectoryW((f + L"\\players").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((f + L"\\caf\u00E9 clips").c_str(), nullptr));
    for (const wchar_t* player : {L"\\players\\caf\u00E9.exe", L"\\players\\cafe.exe"}) {
        CloseHandle(CreateFileW((f + player).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    const std::wstring text = L"\uFEFF[Brumweld]\r\nInputDir=" + f + L"\\caf\u00E9 clips\r\nOutputDir=" + f +
                              L"\\gone \u00E9\r\nPlayer=" + f + L"\\players\\caf\u00E9.exe\r\n[Video]\r\nsize=640x480\r\n";
    const std::string utf16(reinterpret_cast<const char*>(text.data()), 2 * text.size());
    char utf8[4096];
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8, sizeof utf8, nullptr, nullptr);
    // The program's own reading of the UTF-8 file, which Wine would hide: the copy it reads.
    TextBuffer copy;
    WriteFileBytes(path, std::string(utf8, size));
    ASSERT_TRUE(CopyUtf8AsUtf16(path.c_str(), copy));
    EXPECT_EQ(utf16, ReadFileBytes(copy.Data()));
    DeleteFileA(copy.Data());
    WriteFileBytes(path, kExampleFile);
    EXPECT_FALSE(CopyUtf8AsUtf16(path.c_str(), copy)) << "a file in the code page is read as it is";
    for (const std::string& bytes : {utf16, std::string(utf8, size)}) {
        WriteFileBytes(path, bytes);
        EncodeSettings settings;
        Load(settings);
        auto opens = [](const char* name) {
            wchar_t full[MAX_PATH] = L"";
            GetLongPathNameW(Widen(name).c_str(), full, MAX_PATH);
            return std::wstring(full);
        };
        EXPECT_EQ(f + L"\\players\\caf\u00E9.exe", opens(settings.Player.Data())) << settings.Player.Data();
        EXPECT_EQ(f + L"\\caf\u00E9 clips", opens(settings.InputDir.Data())) << settings.InputDir.Data();
        EXPECT_STREQ("", settings.OutputDir.Data());
        EXPECT_STREQ("640x480", settings.size);
    }
}

// Something where the new file would first be written (a folder, or a run's output that a link
// put there) is left as it is, and another free name beside it is taken; nothing is left behind.
TEST_F(SettingsFile, AnythingNamedLikeTheNewFileIsLeftAndAnotherNameTaken)
{
    const std::string temporary = SettingsTemporary(path);
    for (bool isFolder : {true, false}) {
        if (isFolder) {
            ASSERT_TRUE(CreateDirectoryA(temporary.c_str(), nullptr));
        } else {
            WriteFileBytes(temporary, "FLV\x01");
        }
        WriteFileBytes(path, "[Video]\r\nbitrate=123\r\n");
        EncodeSettings settings;
        SetEveryField(settings);
        EXPECT_TRUE(Save(settings)) << isFolder;
        EXPECT_NE(std::string::npos, ReadFileBytes(path).find("OutputDir=D:\\Flash")) << isFolder;
        if (!isFolder) {
            EXPECT_EQ("FLV\x01", ReadFileBytes(temporary));
        }
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(folder.File("Bru*.tmp").c_str(), &found);
        ASSERT_NE(INVALID_HANDLE_VALUE, search);
        EXPECT_EQ(std::string("Brumweld.tmp"), found.cFileName);
        EXPECT_FALSE(FindNextFileA(search, &found)) << found.cFileName;
        FindClose(search);
        RemoveDirectoryA(temporary.c_str());
        DeleteFileA(temporary.c_str());
    }
}

}  // namespace
