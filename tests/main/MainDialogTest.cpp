#include "ui/main/MainDialog.h"

#include "common/MessagePump.h"
#include "support/ScopedHandle.h"
#include "common/TestFiles.h"
#include "job/EncodeSettings.h"
#include "support/TextBuffer.h"
#include "ui/main/resource.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Runs an action on the first other dialog of this thread that appears, from a timer that
// fires inside that dialog's own modal loop.
class DialogScript {
public:
    DialogScript(HWND main, std::function<void(HWND)> action) : action(std::move(action))
    {
        current = this;
        mainWindow = main;
        timer = SetTimer(nullptr, 0, 100, Tick);
    }
    ~DialogScript()
    {
        KillTimer(nullptr, timer);
        current = nullptr;
    }
    bool Ran() const { return ran; }

private:
    static BOOL CALLBACK Find(HWND window, LPARAM found)
    {
        char name[64];
        GetClassNameA(window, name, sizeof name);
        if (window != current->mainWindow && IsWindowVisible(window) && lstrcmpA(name, "#32770") == 0) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (!current || current->ran) return;
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), Find, reinterpret_cast<LPARAM>(&dialog));
        if (!dialog) return;
        current->ran = true;
        current->action(dialog);
    }

    static DialogScript* current;
    HWND mainWindow;
    std::function<void(HWND)> action;
    UINT_PTR timer;
    bool ran = false;
};

DialogScript* DialogScript::current = nullptr;

std::string ItemText(HWND dialog, int id)
{
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// A box's message is its static text with the id 0xFFFF.
std::string MessageBoxText(HWND box)
{
    return ItemText(box, 0xFFFF);
}

// The explorer-style file dialog, a Unicode window: its folder, and the file name typed and confirmed.
std::string FileDialogFolder(HWND dialog)
{
    wchar_t folder[MAX_PATH] = L"";
    SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    return Narrow(folder);
}

std::string FileDialogName(HWND dialog)
{
    wchar_t name[MAX_PATH] = L"";
    SendMessageW(dialog, CDM_GETSPEC, MAX_PATH, reinterpret_cast<LPARAM>(name));
    return Narrow(name);
}

void ConfirmFileDialog(HWND dialog, const std::wstring& path)
{
    SendMessageW(dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(path.c_str()));
    SendMessageW(dialog, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

void ConfirmFileDialog(HWND dialog, const std::string& path)
{
    ConfirmFileDialog(dialog, Widen(path));
}

class MainWindowTest : public testing::Test, protected FolderFiles {
protected:
    MainWindowTest() : FolderFiles(ExecutableFolder()), window(settings)
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&controls);
        Remove("Brumweld.ini");
        Remove("~enc.bat");
        // The input the runs name: Run refuses one that is not there.
        WriteFileBytes(File("in.avi"), "clip");
    }
    ~MainWindowTest()
    {
        if (window.GetHwnd() && IsWindow(window.GetHwnd())) DestroyWindow(window.GetHwnd());
        Pump();
        Remove("Brumweld.ini");
        Remove("~enc.bat");
        Remove("in.avi");
    }

    void Open(const std::string& ini = "")
    {
        if (!ini.empty()) WriteFileBytes(File("Brumweld.ini"), ini);
        ASSERT_TRUE(window.Create());
        main = window.GetHwnd();
    }

    std::string Text(int id) const { return ItemText(main, id); }
    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(main, id)) != FALSE; }
    int Selection(int id) const { return static_cast<int>(SendDlgItemMessageA(main, id, CB_GETCURSEL, 0, 0)); }
    bool Checked(int id) const { return IsDlgButtonChecked(main, id) == BST_CHECKED; }
    void Select(int id, int index)
    {
        SendDlgItemMessageA(main, id, CB_SETCURSEL, index, 0);
        SendMessageA(main, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(main, id)));
    }
    void Type(int id, const char* text) { SetDlgItemTextA(main, id, text); }

    EncodeSettings settings;
    MainDialog window;
    HWND main = nullptr;
};

TEST_F(MainWindowTest, FirstStartShowsTheDefaults)
{
    Open();
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_EQ(0, Selection(IDC_VIDEO_MODE));
    EXPECT_EQ("固定ﾋﾞｯﾄﾚｰﾄ (1pass-CBR)", Text(IDC_VIDEO_MODE));
    EXPECT_EQ("300", Text(IDC_VIDEO_BITRATE));
    EXPECT_EQ("4", Text(IDC_VIDEO_QUALITY));
    EXPECT_EQ("30", Text(IDC_FRAME_RATE));
    EXPECT_FALSE(Checked(IDC_RESIZE));
    EXPECT_EQ("320x240", Text(IDC_FRAME_SIZE));
    EXPECT_EQ(0, Selection(IDC_AUDIO_CHANNEL));
    EXPECT_EQ("自動", Text(IDC_AUDIO_CHANNEL));
    EXPECT_EQ("64", Text(IDC_AUDIO_BITRATE));
    EXPECT_EQ("2", Text(IDC_COMP_QUALITY));
    EXPECT_EQ("44100", Text(IDC_SAMPLE_RATE));
    for (int id : {IDC_WAIT_FOR_KEY, IDC_KEEP_BATCH, IDC_PLAY_AFTER}) EXPECT_FALSE(Checked(id)) << id;
    EXPECT_EQ("", Text(IDC_INPUT_FILE));
    EXPECT_EQ("", Text(IDC_OUTPUT_FILE));

    const struct { int id; bool enabled; } states[] = {
        {IDC_VIDEO_BITRATE, true}, {IDC_VIDEO_QUALITY, false}, {IDC_VIDEO_QUALITY_SPIN, false},
        {IDC_FRAME_SIZE, false}, {IDC_RUN, true}, {IDC_EXIT, true},
    };
    for (const auto& s : states) EXPECT_EQ(s.enabled, Enabled(s.id)) << s.id;
    EXPECT_EQ(5, SendDlgItemMessageA(main, IDC_FRAME_RATE, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(6, SendDlgItemMessageA(main, IDC_FRAME_SIZE, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(3, SendDlgItemMessageA(main, IDC_SAMPLE_RATE, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(MAKELONG(31, 0), SendDlgItemMessageA(main, IDC_VIDEO_QUALITY_SPIN, UDM_GETRANGE, 0, 0));
    EXPECT_EQ(MAKELONG(9, 0), SendDlgItemMessageA(main, IDC_COMP_QUALITY_SPIN, UDM_GETRANGE, 0, 0));

    // Centred on the work area.
    RECT area, frame;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(main, &frame);
    EXPECT_EQ(area.left + (area.right - area.left - (frame.right - frame.left)) / 2, frame.left);
    EXPECT_EQ(area.top + (area.bottom - area.top - (frame.bottom - frame.top)) / 2, frame.top);
}

TEST_F(MainWindowTest, StoredSizeAndSampleRateReachTheScriptAndTheFile)
{
    Open("[Brumweld]\r\nOptFlag=2\r\n[Video]\r\nbSize=1\r\nsize=640x480\r\n");
    EXPECT_TRUE(Checked(IDC_RESIZE));
    EXPECT_TRUE(Enabled(IDC_FRAME_SIZE));
    EXPECT_EQ("640x480", Text(IDC_FRAME_SIZE));
    Type(IDC_INPUT_FILE, "in.avi");
    Type(IDC_OUTPUT_FILE, "out.flv");
    // A chosen rate and no rate at all are both written as the list shows them.
    const struct { int selection; const char* written; } rates[] = {{0, " -af resample=11025:0:0 "}, {-1, " -af resample=:0:0 "}};
    for (const auto& rate : rates) {
        SendDlgItemMessageA(main, IDC_SAMPLE_RATE, CB_SETCURSEL, rate.selection, 0);
        window.RunCommand();
        ASSERT_TRUE(PumpUntil([&] { return Enabled(IDC_RUN); }, 30000));
        const std::string script = ReadFileBytes(File("~enc.bat"));
        EXPECT_NE(std::string::npos, script.find(" -vf scale=640:480:0:0::,harddup ")) << script;
        EXPECT_NE(std::string::npos, script.find(rate.written)) << script;
    }
    DestroyWindow(main);
    Pump();
    EXPECT_NE(std::string::npos, ReadFileBytes(File("Brumweld.ini")).find("\r\nbSize=1\r\nsize=640x480\r\n"));
}

TEST_F(MainWindowTest, ModeDecidesBitrateOrQuality)
{
    Open("[Video]\r\nmode=1\r\n");
    EXPECT_EQ(1, Selection(IDC_VIDEO_MODE));
    EXPECT_EQ("品質ﾍﾞｰｽ    (1pass-VBR)", Text(IDC_VIDEO_MODE));
    EXPECT_FALSE(Enabled(IDC_VIDEO_BITRATE));
    EXPECT_TRUE(Enabled(IDC_VIDEO_QUALITY));
    EXPECT_TRUE(Enabled(IDC_VIDEO_QUALITY_SPIN));
    for (int mode : {0, 2}) {
        Select(IDC_VIDEO_MODE, mode);
        EXPECT_TRUE(Enabled(IDC_VIDEO_BITRATE)) << mode;
        EXPECT_FALSE(Enabled(IDC_VIDEO_QUALITY)) << mode;
        EXPECT_FALSE(Enabled(IDC_VIDEO_QUALITY_SPIN)) << mode;
        Select(IDC_VIDEO_MODE, 1);
        EXPECT_FALSE(Enabled(IDC_VIDEO_BITRATE)) << mode;
        EXPECT_TRUE(Enabled(IDC_VIDEO_QUALITY)) << mode;
    }
    // The resize box enables the size box.
    EXPECT_FALSE(Enabled(IDC_FRAME_SIZE));
    CheckDlgButton(main, IDC_RESIZE, BST_CHECKED);
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_RESIZE, BN_CLICKED), 0);
    EXPECT_TRUE(Enabled(IDC_FRAME_SIZE));
}

TEST_F(MainWindowTest, UnknownModeShowsNoSelectionAndStoresMinusOne)
{
    Open("[Video]\r\nmode=3\r\n[Audio]\r\nchannel=9\r\nsamprate=-1\r\n");
    EXPECT_EQ(-1, Selection(IDC_VIDEO_MODE));
    EXPECT_TRUE(Enabled(IDC_VIDEO_BITRATE));
    EXPECT_FALSE(Enabled(IDC_VIDEO_QUALITY));
    window.StoreControls();
    EXPECT_EQ(-1, settings.mode);
    EXPECT_EQ(-1, settings.channel);
    EXPECT_EQ(-1, settings.samprate);
}

TEST_F(MainWindowTest, StoreControlsLimitsWhatWasTyped)
{
    Open("[Brumweld]\r\nOptFlag=8\r\n[Video]\r\nquality=-5\r\n");
    EXPECT_EQ("4294967291", Text(IDC_VIDEO_QUALITY));
    for (int id : {IDC_WAIT_FOR_KEY, IDC_KEEP_BATCH, IDC_PLAY_AFTER}) EXPECT_FALSE(Checked(id)) << id;
    EXPECT_EQ(8, settings.OptFlag);

    Type(IDC_VIDEO_QUALITY, "45");
    Type(IDC_COMP_QUALITY, "12");
    Type(IDC_VIDEO_BITRATE, "");
    Type(IDC_AUDIO_BITRATE, "4000000000");
    SetDlgItemTextA(main, IDC_FRAME_RATE, "123456789012");
    SetDlgItemTextA(main, IDC_FRAME_SIZE, "1920x1080");
    CheckDlgButton(main, IDC_KEEP_BATCH, BST_CHECKED);
    window.StoreControls();
    EXPECT_EQ(31, settings.quality);
    EXPECT_EQ(9, settings.compqua);
    EXPECT_EQ(0, settings.videoBitrate);
    EXPECT_EQ(static_cast<int>(4000000000u), settings.audioBitrate);
    EXPECT_STREQ("12345678", settings.framerate);
    // The size box is disabled but its text is stored all the same.
    EXPECT_FALSE(Enabled(IDC_FRAME_SIZE));
    EXPECT_STREQ("1920x108", settings.size);
    EXPECT_EQ(0, settings.bSize);
    EXPECT_EQ(KeepBatch, settings.OptFlag);

    Type(IDC_VIDEO_QUALITY, "4000000000");
    window.StoreControls();
    EXPECT_EQ(0, settings.quality);
}

TEST_F(MainWindowTest, OptionBitsRoundTripAndUnknownBitsAreDropped)
{
    const struct { const char* stored; bool wait, keep, play; const char* saved; } cases[] = {
        {"13", true, false, true, "5"},
        {"8", false, false, false, "0"},
        {"65543", true, true, true, "7"},
    };
    for (const auto& c : cases) {
        EncodeSettings record;
        MainDialog dialog(record);
        WriteFileBytes(File("Brumweld.ini"), std::string("[Brumweld]\r\nOptFlag=") + c.stored + "\r\n");
        ASSERT_TRUE(dialog.Create());
        main = dialog.GetHwnd();
        EXPECT_EQ(c.wait, Checked(IDC_WAIT_FOR_KEY)) << c.stored;
        EXPECT_EQ(c.keep, Checked(IDC_KEEP_BATCH)) << c.stored;
        EXPECT_EQ(c.play, Checked(IDC_PLAY_AFTER)) << c.stored;
        DestroyWindow(main);
        Pump();
        const std::string saved = ReadFileBytes(File("Brumweld.ini"));
        EXPECT_NE(std::string::npos, saved.find(std::string("\r\nOptFlag=") + c.saved + "\r\n")) << saved;
    }
}

TEST_F(MainWindowTest, RunWithAnEmptyFieldWarnsAndWritesNothing)
{
    Open();
    const struct { const char* input; const char* output; } cases[] = {{"C:\\in.avi", ""}, {"", "C:\\out.flv"}, {"", ""}};
    for (const auto& c : cases) {
        Type(IDC_INPUT_FILE, c.input);
        Type(IDC_OUTPUT_FILE, c.output);
        std::string message;
        DialogScript script(main, [&](HWND box) {
            message = MessageBoxText(box);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
        window.RunCommand();
        EXPECT_TRUE(script.Ran());
        EXPECT_EQ("ファイル名を指定してください", message);
        EXPECT_FALSE(FileExists(File("~enc.bat")));
        EXPECT_TRUE(Enabled(IDC_RUN));
    }
}

TEST_F(MainWindowTest, RunRefusesAnOutputThatIsTheInputHoweverSpelt)
{
    Open();
    const std::string source = File("source clip.avi");
    WriteFileBytes(source, "source");
    char shortName[MAX_PATH] = "";
    GetShortPathNameA(source.c_str(), shortName, MAX_PATH);
    std::string upper = source;
    CharUpperA(&upper[0]);
    const std::string parent = folder.substr(folder.rfind('\\') + 1);
    TempFolder elsewhere;
    SetCurrentDirectoryA(elsewhere.Path().c_str());
    // Relative names are the encoder's: it runs in the program folder. Quotes are dropped as
    // the script drops them ("Copy as path", a command line's stray quote).
    for (const std::string& output : {source, upper, std::string(shortName),
                                      folder + "\\..\\" + parent + "\\source clip.avi", std::string("source clip.avi"),
                                      "\"" + source + "\"", source + "\""}) {
        Type(IDC_INPUT_FILE, source.c_str());
        Type(IDC_OUTPUT_FILE, output.c_str());
        std::string message;
        DialogScript script(main, [&](HWND box) {
            message = MessageBoxText(box);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
        window.RunCommand();
        EXPECT_TRUE(script.Ran()) << output;
        EXPECT_EQ("入力ﾌｧｲﾙと出力ﾌｧｲﾙが同じです", message) << output;
        EXPECT_FALSE(FileExists(File("~enc.bat"))) << output;
        EXPECT_TRUE(Enabled(IDC_RUN)) << output;
    }
    EXPECT_EQ("source", ReadFileBytes(source));
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(elsewhere.Path(), current) << "only the worker moves to the program folder";
    SetCurrentDirectoryA(folder.c_str());

    // Another file, new or existing, runs.
    WriteFileBytes(File("other.flv"), "old");
    for (const std::string& output : {File("new.flv"), File("other.flv")}) {
        Type(IDC_OUTPUT_FILE, output.c_str());
        DialogScript script(main, [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
        window.RunCommand();
        EXPECT_FALSE(Enabled(IDC_RUN)) << output;
        EXPECT_TRUE(PumpUntil([&] { return Enabled(IDC_RUN); }, 30000)) << output;
        EXPECT_FALSE(script.Ran()) << output;
    }
    DeleteFileA(source.c_str());
    DeleteFileA(File("other.flv").c_str());
}

// The window hands the job a name as long as the field holds it: no cut at 511 characters.
TEST_F(MainWindowTest, ALongNameReachesTheScriptWhole)
{
    Open("[Brumweld]\r\nOptFlag=2\r\n");
    TempFolder deep;
    const std::string input = MakeDeepFolder(deep.Path(), 600) + "\\in.avi";
    ASSERT_NE("\\in.avi", input);
    CloseHandle(CreateFileW((L"\\\\?\\" + Widen(input)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    Type(IDC_INPUT_FILE, input.c_str());
    Type(IDC_OUTPUT_FILE, "out.flv");
    window.RunCommand();
    EXPECT_TRUE(PumpUntil([&] { return Enabled(IDC_RUN); }, 30000));
    EXPECT_NE(std::string::npos, ReadFileBytes(File("~enc.bat")).find("mencoder.exe \"" + input + "\" -vf "));
}

TEST_F(MainWindowTest, SessionEndSavesTheSettingsOnce)
{
    Open();
    Type(IDC_VIDEO_BITRATE, "777");
    SendMessageA(main, WM_ENDSESSION, FALSE, 0);
    EXPECT_FALSE(FileExists(File("Brumweld.ini"))) << "the session goes on";
    SendMessageA(main, WM_ENDSESSION, TRUE, 0);
    EXPECT_NE(std::string::npos, ReadFileBytes(File("Brumweld.ini")).find("[Video]\r\nmode=0\r\nbitrate=777\r\n"));
    Remove("Brumweld.ini");
    SendMessageA(main, WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(FileExists(File("Brumweld.ini")));
    EXPECT_TRUE(IsWindow(main));
}

TEST_F(MainWindowTest, ARunEndingAfterTheWindowWentTouchesNothing)
{
    ScopedHandle gate(CreateEventA(nullptr, TRUE, FALSE, "BrumweldTestEncoderGate"));
    ASSERT_TRUE(gate.IsValid());
    const std::string player = File("player.exe");
    const std::string played = File("player-args.txt");
    DeleteFileA(played.c_str());
    Remove("~pass.log");
    Remove("encoder-done.txt");
    Open("[Brumweld]\r\nOptFlag=4\r\nPlayer=" + player + "\r\n[Video]\r\nmode=2\r\n");
    Type(IDC_INPUT_FILE, "in.avi");
    Type(IDC_OUTPUT_FILE, "out.flv");
    window.RunCommand();
    ASSERT_TRUE(PumpUntil([&] { return FileExists(File("~pass.log")); }, 20000)) << "the encoder did not start";

    DestroyWindow(main);
    Pump();
    // A window made since, as the next of this process: the first run's end reaches neither.
    EncodeSettings laterSettings;
    MainDialog later(laterSettings);
    ASSERT_TRUE(later.Create());
    SetEvent(gate.Get());
    EXPECT_TRUE(PumpUntil([&] { return ReadFileBytes(File("encoder-done.txt")) == "done\r\ndone\r\n"; }, 60000))
        << "encoder-done.txt: " << ReadFileBytes(File("encoder-done.txt"));
    // The worker has let go of its run: an end step would have acted by now.
    EXPECT_TRUE(PumpUntil([&] { return window.RunWorkerDone(); }, 30000)) << "the worker did not end";
    EXPECT_TRUE(FileExists(File("~enc.bat")));
    EXPECT_TRUE(FileExists(File("~pass.log")));
    EXPECT_FALSE(FileExists(played)) << "the player was started";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(later.GetHwnd(), IDC_RUN)));
    DestroyWindow(later.GetHwnd());
    Pump();
    Remove("~pass.log");
    Remove("encoder-done.txt");
}

TEST_F(MainWindowTest, BusyStateDisablesRunExitAndCloseOnly)
{
    Open();
    HMENU system = GetSystemMenu(main, FALSE);
    window.EnableCommands(false);
    EXPECT_FALSE(Enabled(IDC_RUN));
    EXPECT_FALSE(Enabled(IDC_EXIT));
    EXPECT_TRUE(GetMenuState(system, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
    for (int id : {IDC_INPUT_FILE, IDC_BROWSE_INPUT, IDC_OUTPUT_FILE, IDC_BROWSE_OUTPUT, IDC_VIDEO_MODE,
                   IDC_VIDEO_BITRATE, IDC_FRAME_RATE, IDC_RESIZE, IDC_AUDIO_CHANNEL, IDC_AUDIO_BITRATE,
                   IDC_COMP_QUALITY, IDC_COMP_QUALITY_SPIN, IDC_SAMPLE_RATE, IDC_WAIT_FOR_KEY, IDC_KEEP_BATCH,
                   IDC_PLAY_AFTER, IDC_CHOOSE_PLAYER}) {
        EXPECT_TRUE(Enabled(id)) << id;
    }
    window.EnableCommands(true);
    EXPECT_TRUE(Enabled(IDC_RUN));
    EXPECT_TRUE(Enabled(IDC_EXIT));
    EXPECT_FALSE(GetMenuState(system, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);

    // Esc closes the window even while busy, and the settings are saved.
    window.EnableCommands(false);
    SetFocus(GetDlgItem(main, IDC_INPUT_FILE));
    MSG escape = {GetDlgItem(main, IDC_INPUT_FILE), WM_KEYDOWN, VK_ESCAPE, 0x00010001, 0, {0, 0}};
    IsDialogMessageA(main, &escape);
    Pump();
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(0u, ReadFileBytes(File("Brumweld.ini")).find("[Brumweld]\r\n"));
}

TEST_F(MainWindowTest, ChosenNamesOutsideTheCodePageAreKeptWholeAndSavedShort)
{
    TempFolder temp;
    const std::wstring videos = Widen(temp.Path()) + L"\\\uB3D9\uC601\uC0C1", input = videos + L"\\caf\u00E9.avi";
    const std::wstring player = videos + L"\\\uD50C.exe";
    ASSERT_TRUE(CreateDirectoryW(videos.c_str(), nullptr));
    for (const std::wstring& file : {input, player}) {
        CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    auto shortName = [](const std::wstring& name) {
        wchar_t written[MAX_PATH] = L"";
        GetShortPathNameW(name.c_str(), written, MAX_PATH);
        return Narrow(written);
    };
    Open();

    DialogScript pickInput(main, [&](HWND dialog) { ConfirmFileDialog(dialog, input); });
    window.BrowseInputFile();
    ASSERT_TRUE(pickInput.Ran());
    wchar_t field[MAX_PATH] = L"";
    GetDlgItemTextW(main, IDC_INPUT_FILE, field, MAX_PATH);
    EXPECT_TRUE(input == field) << "the field holds the name as chosen";
    EXPECT_EQ(shortName(videos), settings.InputDir.Data());

    DialogScript pickOutput(main, [&](HWND dialog) { ConfirmFileDialog(dialog, videos + L"\\out.flv"); });
    window.BrowseOutputFile();
    ASSERT_TRUE(pickOutput.Ran());
    EXPECT_EQ(shortName(videos), settings.OutputDir.Data());

    DialogScript pickPlayer(main, [&](HWND dialog) { ConfirmFileDialog(dialog, player); });
    window.ChoosePlayer();
    ASSERT_TRUE(pickPlayer.Ran());
    EXPECT_EQ(shortName(player), settings.Player.Data());

    // The script names the input by its short name, the new output by its short folder.
    SetDlgItemTextW(main, IDC_OUTPUT_FILE, (videos + L"\\out.flv").c_str());
    CheckDlgButton(main, IDC_KEEP_BATCH, BST_CHECKED);
    window.RunCommand();
    ASSERT_TRUE(PumpUntil([&] { return Enabled(IDC_RUN); }, 30000));
    const std::string script = ReadFileBytes(File("~enc.bat"));
    EXPECT_NE(std::string::npos, script.find("mencoder.exe \"" + shortName(input) + "\" -vf")) << script;
    EXPECT_NE(std::string::npos, script.find(" -o \"" + shortName(videos) + "\\out.flv\"\r\n")) << script;
}

// A DROPFILES block as the shell posts it, with the names in ANSI.
HGLOBAL DropBlock(const std::vector<std::string>& names, POINT point)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const auto& name : names) size += name.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = point;
    drop->fWide = FALSE;
    char* text = reinterpret_cast<char*>(drop + 1);
    for (const auto& name : names) {
        lstrcpyA(text, name.c_str());
        text += name.size() + 1;
    }
    GlobalUnlock(block);
    return block;
}

TEST_F(MainWindowTest, DroppedFilesFillTheInputWithTheFirst)
{
    Open("[Brumweld]\r\nInputDir=C:\\Kept\r\n");
    RECT outputField;
    GetWindowRect(GetDlgItem(main, IDC_OUTPUT_FILE), &outputField);
    POINT onOutput = {outputField.left + 5, outputField.top + 5};
    ScreenToClient(main, &onOutput);
    const POINT points[] = {{10, 10}, onOutput};
    for (POINT point : points) {
        Type(IDC_INPUT_FILE, "");
        const std::string first = "C:\\\x83\x5C\x95\x5C\\first clip.avi";
        PostMessageA(main, WM_DROPFILES, reinterpret_cast<WPARAM>(DropBlock({first, "C:\\b.avi", "C:\\c.avi"}, point)), 0);
        Pump();
        EXPECT_EQ(first, Text(IDC_INPUT_FILE));
        EXPECT_EQ("", Text(IDC_OUTPUT_FILE));
        EXPECT_STREQ("C:\\Kept", settings.InputDir.Data());
    }
    // Any program can send a drop without a file: the field keeps its name.
    Type(IDC_INPUT_FILE, "C:\\kept.avi");
    for (HGLOBAL empty : {HGLOBAL(nullptr), DropBlock({}, {10, 10})}) {
        PostMessageA(main, WM_DROPFILES, reinterpret_cast<WPARAM>(empty), 0);
        Pump();
        EXPECT_EQ("C:\\kept.avi", Text(IDC_INPUT_FILE));
    }
}

TEST_F(MainWindowTest, CommandLineBecomesTheInputFile)
{
    Open();
    const struct { const char* line; const char* input; } cases[] = {
        {"\"C:\\My Videos\\a b.avi\"", "C:\\My Videos\\a b.avi"},
        {"C:\\My Videos\\a b.avi", "C:\\My Videos\\a b.avi"},
        {"\"\"", "\"\""},
        {"\"C:\\a b.avi\" more", "C:\\a b.avi\" mor"},
        {"", "unchanged"},
    };
    for (const auto& c : cases) {
        Type(IDC_INPUT_FILE, "unchanged");
        window.ApplyCommandLine(Widen(c.line).c_str());
        EXPECT_EQ(c.input, Text(IDC_INPUT_FILE)) << c.line;
    }
}

TEST_F(MainWindowTest, BrowseDialogsSetFieldsAndRememberFolders)
{
    TempFolder videos, flash, tools;
    const std::string input = videos.File("in.avi");
    WriteFileBytes(input, "video");
    WriteFileBytes(tools.File("player.exe"), "MZ");
    Open();

    // Input: confirmed, then the next dialog opens in its folder; cancel changes nothing.
    DialogScript pickInput(main, [&](HWND dialog) { ConfirmFileDialog(dialog, input); });
    window.BrowseInputFile();
    ASSERT_TRUE(pickInput.Ran());
    EXPECT_EQ(input, Text(IDC_INPUT_FILE));
    EXPECT_EQ(videos.Path(), settings.InputDir.Data());
    std::string openedIn;
    {
        DialogScript cancel(main, [&](HWND dialog) {
            openedIn = FileDialogFolder(dialog);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        Type(IDC_INPUT_FILE, "typed.avi");
        window.BrowseInputFile();
    }
    EXPECT_EQ(videos.Path(), openedIn);
    EXPECT_EQ("typed.avi", Text(IDC_INPUT_FILE));
    EXPECT_EQ(videos.Path(), settings.InputDir.Data());

    // Output: a new file may be named.
    const std::string output = flash.File("out.flv");
    DialogScript pickOutput(main, [&](HWND dialog) { ConfirmFileDialog(dialog, output); });
    window.BrowseOutputFile();
    ASSERT_TRUE(pickOutput.Ran());
    EXPECT_EQ(output, Text(IDC_OUTPUT_FILE));
    EXPECT_EQ(flash.Path(), settings.OutputDir.Data());

    // Player: chosen, then the next dialog opens in its folder with its name filled in.
    DialogScript pickPlayer(main, [&](HWND dialog) { ConfirmFileDialog(dialog, tools.File("player.exe")); });
    window.ChoosePlayer();
    ASSERT_TRUE(pickPlayer.Ran());
    EXPECT_EQ(tools.File("player.exe"), settings.Player.Data());
    std::string playerFolder, playerName;
    {
        DialogScript cancel(main, [&](HWND dialog) {
            playerFolder = FileDialogFolder(dialog);
            playerName = FileDialogName(dialog);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        window.ChoosePlayer();
    }
    EXPECT_EQ(tools.Path(), playerFolder);
    EXPECT_EQ("player.exe", playerName);
    EXPECT_EQ(tools.File("player.exe"), settings.Player.Data());
}

}  // namespace
