#include "settings/SettingsFile.h"

#include "common/TestFiles.h"
#include "job/EncodeSettings.h"
#include "settings/ProfileReader.h"
#include "ui/framework/Window.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A real 400 by 300 top-level window, destroyed with the object.
class PlainWindow {
public:
    PlainWindow()
    {
        window.hwnd = CreateWindowExA(0, "STATIC", "settings", WS_POPUP | WS_CAPTION, 5, 6, 400, 300, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~PlainWindow() { DestroyWindow(window.hwnd); }
    PlainWindow(const PlainWindow&) = delete;
    PlainWindow& operator=(const PlainWindow&) = delete;

    POINT Where() const
    {
        RECT rect;
        GetWindowRect(window.hwnd, &rect);
        return {rect.left, rect.top};
    }

    // Equal margins on the work area, up to the odd pixel.
    bool Centred() const
    {
        RECT area, rect;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        GetWindowRect(window.hwnd, &rect);
        int left = rect.left - area.left, right = area.right - rect.right;
        int top = rect.top - area.top, bottom = area.bottom - rect.bottom;
        return (left == right || left + 1 == right) && (top == bottom || top + 1 == bottom);
    }

    Window window;
};

void SetDefaults(EncodeSettings& s)
{
    s.mode = 0;
    s.videoBitrate = 300;
    s.quality = 4;
    lstrcpyA(s.framerate, "30");
    s.bSize = 0;
    lstrcpyA(s.size, "320x240");
    s.channel = 0;
    s.audioBitrate = 64;
    s.compqua = 2;
    s.samprate = 2;
    s.OptFlag = 0;
    s.InputDir.Assign("");
    s.OutputDir.Assign("");
    s.Player.Assign("");
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
    void SetUp() override { ASSERT_NE(nullptr, plain.window.hwnd); }

    // The profile functions may keep a file they read; a file written afresh must be read afresh.
    void Load(EncodeSettings& settings)
    {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
        LoadSettingsFile(plain.window, settings, path.c_str());
    }

    void LoadText(const std::string& text, EncodeSettings& settings)
    {
        WriteFileBytes(path, text);
        Load(settings);
    }

    bool Save(const EncodeSettings& settings) { return SaveSettingsFile(plain.window, settings, path.c_str()); }

    TempFolder folder;
    const std::string path = folder.File("Brumweld.ini");
    PlainWindow plain;
};

TEST_F(SettingsFile, ExampleLayout)
{
    EncodeSettings settings;
    SetDefaults(settings);
    plain.window.MoveTo(412, 236);
    EXPECT_TRUE(Save(settings));
    EXPECT_EQ(kExampleFile, ReadFileBytes(path));
    EXPECT_FALSE(FileExists(SettingsTemporary(path)));
}

TEST_F(SettingsFile, EveryFieldWrittenByteForByte)
{
    EncodeSettings settings;
    SetEveryField(settings);
    plain.window.MoveTo(-8, -30);
    EXPECT_TRUE(Save(settings));
    EXPECT_EQ(kFullFile, ReadFileBytes(path));
}

TEST_F(SettingsFile, ReadsBackWhatItWrote)
{
    EncodeSettings settings, expected;
    SetEveryField(expected);
    LoadText(kFullFile, settings);
    EXPECT_EQ(Describe(expected), Describe(settings));
    EXPECT_EQ(-8, plain.Where().x);
    EXPECT_EQ(-30, plain.Where().y);
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
    settings.Player.Assign(("C:\\" + std::string(596, 'p')).c_str());
    settings.InputDir.Assign(("C:\\" + std::string(300, 'i')).c_str());
    settings.OutputDir.Assign(("C:\\" + std::string(280, 'o')).c_str());
    EXPECT_TRUE(SaveSettingsFile(plain.window, settings, file.c_str()));
    LoadSettingsFile(plain.window, again, file.c_str());
    EXPECT_EQ(Describe(settings), Describe(again));
    EXPECT_FALSE(FileExists(SettingsTemporary(file)));
}

TEST_F(SettingsFile, WithoutAFileEverythingIsDefaultAndTheWindowCentred)
{
    EncodeSettings settings, expected;
    SetDefaults(expected);
    settings.InputDir.Assign("left from before");
    settings.Player.Assign("left from before");
    settings.OptFlag = 3;
    plain.window.MoveTo(1, 2);
    Load(settings);
    EXPECT_EQ(Describe(expected), Describe(settings));
    EXPECT_TRUE(plain.Centred());
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
        SetDefaults(expected);
        row.change(expected);
        LoadText(row.text, settings);
        EXPECT_EQ(Describe(expected), Describe(settings)) << row.what;
    }
}

TEST_F(SettingsFile, AHandEditedFileIsRewrittenInTheFixedLayout)
{
    EncodeSettings settings;
    LoadText("; by hand\r\n[video]\r\nMode = 2\r\nextra=1\r\n", settings);
    plain.window.MoveTo(412, 236);
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
        plain.window.MoveTo(1, 2);
        LoadText(row.text, settings);
        if (row.centred) {
            EXPECT_TRUE(plain.Centred()) << row.text;
        } else {
            EXPECT_EQ(row.x, plain.Where().x) << row.text;
            EXPECT_EQ(row.y, plain.Where().y) << row.text;
        }
    }
}

TEST_F(SettingsFile, AMissingFolderCreatesNothing)
{
    EncodeSettings settings;
    SetDefaults(settings);
    const std::string missing = folder.File("missing\\Brumweld.ini");
    EXPECT_FALSE(SaveSettingsFile(plain.window, settings, missing.c_str()));
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
        ASSERT_NE(nullptr, plain.window.hwnd);
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
    PlainWindow plain;
};

TEST_F(ProgramFolderFile, LoadAndSaveUseTheFileBesideTheExecutable)
{
    EncodeSettings settings;
    SetDefaults(settings);
    plain.window.MoveTo(412, 236);
    SaveSettingsFile(plain.window, settings);
    EXPECT_EQ(kExampleFile, ReadFileBytes(path));

    WriteFileBytes(path, kFullFile);
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
    EncodeSettings loaded, expected;
    SetEveryField(expected);
    LoadSettingsFile(plain.window, loaded);
    EXPECT_EQ(Describe(expected), Describe(loaded));
    EXPECT_EQ(-8, plain.Where().x);
}

TEST_F(ProgramFolderFile, AReadOnlyHiddenOrSystemFileStaysAsItWas)
{
    for (DWORD mark : {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
        Remove();
        WriteFileBytes(path, kFullFile);
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), mark));
        EncodeSettings settings;
        SetDefaults(settings);
        SaveSettingsFile(plain.window, settings);
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
    SetDefaults(settings);
    SaveSettingsFile(plain.window, settings);
    CloseHandle(held);
    EXPECT_EQ(kFullFile, ReadFileBytes(path));
    EXPECT_FALSE(FileExists(SettingsTemporary(path)));
}

// The folder of a small file system that the test run mounted and filled (full-disk.sh).
std::string FullDiskFolder(std::string& skipReason)
{
    const char* unixFolder = std::getenv("BRUMWELD_FULL_DISK");
    if (!unixFolder) {
        skipReason = "BRUMWELD_FULL_DISK is not set: run through ctest, which mounts the file system";
        return "";
    }
    std::string folder = std::string("Z:") + unixFolder;
    for (char& c : folder) {
        if (c == '/') c = '\\';
    }
    if (FileExists(folder + "\\skip-reason")) {
        skipReason = ReadFileBytes(folder + "\\skip-reason");
        return "";
    }
    return folder;
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

    PlainWindow plain;
    EncodeSettings settings;
    SetEveryField(settings);
    EXPECT_FALSE(SaveSettingsFile(plain.window, settings, path.c_str()));
    EXPECT_EQ(before, ReadFileBytes(path));
    EXPECT_FALSE(FileExists(SettingsTemporary(path)));
}

}  // namespace
