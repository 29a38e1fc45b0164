#include "app/ProgramFixture.h"
#include "tools/driver/Drive.h"
#include "ui/main/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

const char kUnusableName[] = "ﾌｧｲﾙ名に使えない文字が含まれています";
const char kSameFile[] = "入力ﾌｧｲﾙと出力ﾌｧｲﾙが同じです";
const char kUnusableValue[] = "ﾌﾚｰﾑﾚｰﾄかｻｲｽﾞに使えない文字が含まれています";
const char kProgramFile[] = "出力ﾌｧｲﾙにﾌﾟﾛｸﾞﾗﾑのﾌｧｲﾙは指定できません";
const char kLineTooLong[] = "ﾌｧｲﾙ名が長すぎます";
const char kNoEncoder[] = "mencoder.exe が見つかりません。";
const char kDriveRelative[] = "ﾄﾞﾗｲﾌﾞ名の後に \\ のないﾌｧｲﾙ名は使えません";
const char kInputMissing[] = "入力ﾌｧｲﾙが見つかりません";
const char kNoWrittenForm[] = "ﾊﾞｯﾁﾌｧｲﾙには、このﾌｧｲﾙを指す名前を書けません。\r\n名前の中の、この Windows の文字ｺｰﾄﾞにない文字を変えてください";

// File names the ANSI code page cannot hold, through the real program and the real encoder.
class Names : public Program {
protected:
    // A clip of that frame size under a name of any kind.
    void Clip(const std::wstring& name, const char* size)
    {
        const std::string made = folder.File("made.avi");
        const std::string printed = MakeClip(made, 2, size);
        ASSERT_TRUE(MoveFileExW(Widen(made).c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING)) << GetLastError() << " " << printed;
    }

    // A file's size and last write, to tell that nothing wrote it.
    static std::string Stamp(const std::wstring& name)
    {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data)) return "(no file)";
        return std::to_string(data.nFileSizeLow) + " " + std::to_string(data.ftLastWriteTime.dwLowDateTime);
    }

    // Fills both fields, presses Run and answers the box that comes: its text.
    static std::string BoxOnRun(const PROCESS_INFORMATION& program, HWND window, const std::wstring& input,
                                const std::wstring& output)
    {
        SetField(window, IDC_INPUT_FILE, input);
        SetField(window, IDC_OUTPUT_FILE, output);
        drive::Click(window, IDC_RUN);
        return AnswerBox(program, window);
    }

    // "width,height" of a file's video, named to ffprobe by its short name.
    static std::string FrameSize(const std::wstring& name)
    {
        wchar_t shortName[MAX_PATH] = L"";
        if (!GetShortPathNameW(name.c_str(), shortName, MAX_PATH)) return "(no file)";
        return Host("ffprobe.exe -v error -select_streams v -show_entries stream=width,height -of csv=p=0 \"" +
                    Narrow(shortName) + "\"");
    }
};

TEST_F(Names, AnAccentedNameOnTheCommandLineConvertsThatFileNotItsLookAlike)
{
    // Named outside the assertions, which also spell their arguments in the code page.
    const std::wstring cafe = folder.File(L"café.avi");
    Clip(cafe, "320x240");
    Clip(folder.File(L"cafe.avi"), "160x120");
    PROCESS_INFORMATION program = Start(L"\"" + cafe + L"\"");
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(cafe, Field(window, IDC_INPUT_FILE));
    SetField(window, IDC_OUTPUT_FILE, folder.File(L"out.flv"));
    RunToIdle(program, window);
    EXPECT_EQ("320,240\n", FrameSize(folder.File(L"out.flv")));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(program, 30000));
}

TEST_F(Names, TypedKoreanAndEmojiNamesConvertIntoAFolderNamedSo)
{
    const std::wstring outputs = folder.File(L"출력😀");
    ASSERT_TRUE(CreateDirectoryW(outputs.c_str(), nullptr));
    PROCESS_INFORMATION program = Start(L"");
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    // The output's own name must be one the code page holds: it has no short name yet.
    const struct { const wchar_t* input; const wchar_t* output; } runs[] = {
        {L"한국어.avi", L"\\korean.flv"},
        {L"emoji😀.avi", L"\\emoji.flv"},
    };
    for (const auto& run : runs) {
        Clip(folder.File(run.input), "320x240");
        SetField(window, IDC_INPUT_FILE, folder.File(run.input));
        SetField(window, IDC_OUTPUT_FILE, outputs + run.output);
        RunToIdle(program, window);
        EXPECT_EQ("320,240\n", FrameSize(outputs + run.output)) << Narrow(run.output);
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(program, 30000));
}

TEST_F(Names, NamesWithoutAWrittenFormWarnAndRunNothing)
{
    Clip(folder.File(L"in.avi"), "160x120");
    PROCESS_INFORMATION program = Start(L"");
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);

    // An output file name typed key by key: it has no short name before it exists.
    SetField(window, IDC_INPUT_FILE, folder.File(L"in.avi"));
    SetField(window, IDC_OUTPUT_FILE, folder.File(L""));
    HWND output = GetDlgItem(window, IDC_OUTPUT_FILE);
    LRESULT end = SendMessageW(output, WM_GETTEXTLENGTH, 0, 0);
    SendMessageW(output, EM_SETSEL, end, end);
    for (wchar_t c : std::wstring(L"결과.flv")) PostMessageW(output, WM_CHAR, c, 1);
    const std::wstring typed = folder.File(L"결과.flv");
    for (DWORD start = GetTickCount(); Field(window, IDC_OUTPUT_FILE) != typed; Sleep(50)) {
        if (GetTickCount() - start > 10000) break;
    }
    ASSERT_EQ(typed, Field(window, IDC_OUTPUT_FILE)) << "typed characters were lost";
    drive::Click(window, IDC_RUN);
    EXPECT_EQ(kNoWrittenForm, AnswerBox(program, window));

    // An input that does not exist is said to be missing, whatever its name holds (named outside
    // the assertion, which spells its arguments in the code page).
    const std::string missing = BoxOnRun(program, window, folder.File(L"없음.avi"), folder.File(L"out.flv"));
    EXPECT_EQ(kInputMissing, missing);

    EXPECT_TRUE(drive::IsEnabled(window, IDC_RUN));
    EXPECT_FALSE(FileExists(folder.File("~enc.bat")));
    EXPECT_FALSE(FileExists(folder.File("out.flv")));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(program, 30000));
}

TEST_F(Names, NoSpellingOfTheInputOverwritesItAndNoLineBreakRunsAnything)
{
    const std::wstring in = folder.File(L"in.avi");
    Clip(in, "160x120");
    const std::string source = ReadFileBytes(folder.File("in.avi"));
    // "Copy as path" quotes the output; a command line's trailing blank leaves a quote in the input.
    const struct { std::wstring arguments, output; const char* box; } cases[] = {
        {L"\"" + in + L"\"", L"\"" + in + L"\"", kSameFile},
        {L"\"" + in + L"\" ", in, kSameFile},
        {L"\"" + in + L"\r\necho X> pwned.txt\"", folder.File(L"out.flv"), kUnusableName},
    };
    for (const auto& c : cases) {
        PROCESS_INFORMATION program = Start(c.arguments);
        HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
        ASSERT_NE(nullptr, window);
        SetField(window, IDC_OUTPUT_FILE, c.output);
        drive::Click(window, IDC_RUN);
        EXPECT_EQ(c.box, AnswerBox(program, window)) << Narrow(c.arguments);
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(0u, ExitCode(program, 30000));
    }
    EXPECT_EQ(source, ReadFileBytes(folder.File("in.avi"))) << "the source was overwritten";
    EXPECT_FALSE(FileExists(folder.File("~enc.bat")));
    EXPECT_FALSE(FileExists(folder.File("pwned.txt")));
}

TEST_F(Names, AnOperatorInTheFrameRateOrSizeFromTheSettingsWarnsAndRunsNothing)
{
    for (const char* video : {"bSize=1\r\nsize=1&md q3&\r\n", "framerate=2|md x\r\n"}) {
        WriteFileBytes(folder.File("Brumweld.ini"), std::string("[Video]\r\n") + video);
        PROCESS_INFORMATION program = Start("in.avi");
        HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
        ASSERT_NE(nullptr, window);
        SetField(window, IDC_OUTPUT_FILE, L"out.flv");
        drive::Click(window, IDC_RUN);
        EXPECT_EQ(kUnusableValue, AnswerBox(program, window)) << video;
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(0u, ExitCode(program, 30000));
    }
    EXPECT_FALSE(FileExists(folder.File("q3")));
    EXPECT_FALSE(FileExists(folder.File("x")));
    EXPECT_FALSE(FileExists(folder.File("~enc.bat")));
}

// The record keeps 8 bytes of a frame rate or size: typing stops there, and a value the code
// page has no exact form for (a look-alike would be written) is refused at Run.
TEST_F(Names, ValueFieldsTakeWhatTheRecordKeepsAndRunRefusesWhatTheCodePageCannotHold)
{
    WriteFileBytes(folder.File("in.avi"), "clip");
    PROCESS_INFORMATION program = Start(L"in.avi");
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    CheckDlgButton(window, IDC_RESIZE, BST_CHECKED);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_RESIZE, BN_CLICKED), 0);
    // The frame rate's field is as wide as it scrolls (no autoscroll): its limit is read instead.
    HWND rateEdit = FindWindowExW(GetDlgItem(window, IDC_FRAME_RATE), nullptr, L"Edit", nullptr);
    EXPECT_EQ(8, SendMessageW(rateEdit, EM_GETLIMITTEXT, 0, 0));
    const struct { int id; std::wstring typed, kept; } fields[] = {
        {IDC_FRAME_SIZE, L"1920x1080", L"1920x108"},
    };
    for (const auto& field : fields) {
        SetField(window, field.id, L"");
        HWND edit = FindWindowExW(GetDlgItem(window, field.id), nullptr, L"Edit", nullptr);
        ASSERT_NE(nullptr, edit);
        // Sent, so each character has been handled when the call returns.
        for (wchar_t c : field.typed) SendMessageW(edit, WM_CHAR, c, 1);
        EXPECT_EQ(field.kept, Field(window, field.id));
    }
    SetField(window, IDC_OUTPUT_FILE, L"out.flv");
    for (const wchar_t* rate : {L"30\u20AC", L"29.9\u00E9"}) {
        SetField(window, IDC_FRAME_RATE, rate);
        drive::Click(window, IDC_RUN);
        EXPECT_EQ(kUnusableValue, AnswerBox(program, window)) << Narrow(rate);
    }
    EXPECT_FALSE(FileExists(folder.File("~enc.bat")));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(program, 30000));
}

TEST_F(Names, ARelativeNameIsTheProgramFoldersFileWhereverItStarted)
{
    TempFolder elsewhere;
    Clip(folder.File(L"café.avi"), "320x240");
    Clip(elsewhere.File(L"café.avi"), "160x120");
    PROCESS_INFORMATION program = StartFrom(folder.File(L"Brumweld.exe"), L"", Widen(elsewhere.Path()));
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    SetField(window, IDC_INPUT_FILE, L"café.avi");
    SetField(window, IDC_OUTPUT_FILE, L"out.flv");
    RunToIdle(program, window);
    EXPECT_EQ("320,240\n", FrameSize(folder.File(L"out.flv")));
    EXPECT_FALSE(FileExists(elsewhere.File("out.flv")));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(program, 30000));
}

TEST_F(Names, InAFolderTheCodePageCannotHoldItConvertsAndSaves)
{
    const std::wstring home = folder.File(L"영상é");
    ASSERT_TRUE(CreateDirectoryW(home.c_str(), nullptr));
    for (const wchar_t* name : {L"Brumweld.exe", L"mencoder.exe", L"host-bridge.sh"}) {
        ASSERT_TRUE(CopyFileW(folder.File(name).c_str(), (home + L"\\" + name).c_str(), FALSE));
    }
    Clip(home + L"\\in.avi", "320x240");
    PROCESS_INFORMATION program = StartFrom(home + L"\\Brumweld.exe", L"in.avi", Widen(folder.Path()));
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    SetField(window, IDC_OUTPUT_FILE, L"out.flv");
    RunToIdle(program, window);
    EXPECT_EQ("320,240\n", FrameSize(home + L"\\out.flv"));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(program, 30000));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((home + L"\\Brumweld.ini").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((home + L"\\~enc.bat").c_str()));
}

// Each is a file other than the one Run judged, or a command: refused with nothing written or run.
TEST_F(Names, RunRefusesWhatTheScriptWouldTakeForAnotherFileOrACommand)
{
    // Wine makes short names from a hash, and another file can carry that name as its own: the
    // short name would open that other file, as the input or as the output written over. The
    // other file takes the chosen one's short name while the chosen one is away.
    const std::wstring chosen = folder.File(L"café final.avi");
    Clip(chosen, "320x240");
    wchar_t shortName[MAX_PATH] = L"";
    ASSERT_NE(0u, GetShortPathNameW(chosen.c_str(), shortName, MAX_PATH));
    const std::wstring other = shortName;
    ASSERT_NE(chosen, other);
    ASSERT_TRUE(MoveFileW(chosen.c_str(), folder.File(L"away.avi").c_str()));
    Clip(other, "160x120");
    ASSERT_TRUE(MoveFileW(folder.File(L"away.avi").c_str(), chosen.c_str()));
    ASSERT_NE(0u, GetShortPathNameW(chosen.c_str(), shortName, MAX_PATH));
    ASSERT_EQ(other, shortName) << "Wine no longer gives the chosen file that short name";
    const std::string chosenStamp = Stamp(chosen), otherStamp = Stamp(other);

    WriteFileBytes(folder.File("in.avi"), "source");
    WriteFileBytes(folder.File("Brumweld.ini"), "[Video]\r\nmode=2\r\n");
    const std::string settings = ReadFileBytes(folder.File("Brumweld.ini"));
    PROCESS_INFORMATION program = Start("in.avi");
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    // Past what cmd reads of a line, the tail would run as commands of its own.
    const std::wstring tooLong = folder.File(std::wstring(8900, L'a') + L"&md INJECTED&md INJECTED");
    const struct { std::wstring input, output; const char* box; } cases[] = {
        // cmd has no current folder of its own on another drive: these would be other files.
        {L"C:in.avi", L"out.flv", kDriveRelative},
        {L"in.avi", L"Z:out.flv", kDriveRelative},
        {L"in.avi", tooLong, kLineTooLong},
        {L"in.avi", L"~enc.bat", kProgramFile},
        {L"in.avi", folder.File(L"~PASS.LOG"), kProgramFile},
        {L"in.avi", L".\\sub\\..\\Brumweld.ini", kProgramFile},
        {L"in.avi", L"Brumweld.exe", kProgramFile},
        {L"in.avi", L"mencoder.exe.", kProgramFile},
        // The settings are written under this name at close, then renamed over the settings file.
        {L"in.avi", L"Brumweld.TMP", kProgramFile},
        // The script's own stream, and a link to where the script will be.
        {L"in.avi", L"~enc.bat::$DATA", kUnusableName},
        {L"in.avi", L"link.flv", kProgramFile},
        {chosen, L"out.flv", kNoWrittenForm},
        {other, chosen, kNoWrittenForm},
    };
    ASSERT_TRUE(CreateDirectoryW(folder.File(L"sub").c_str(), nullptr));
    Host("ln.exe -s ~enc.bat \"" + folder.File("link.flv") + "\"");
    for (const auto& c : cases) {
        EXPECT_EQ(c.box, BoxOnRun(program, window, c.input, c.output)) << Narrow(c.output.substr(0, 80));
    }
    // No encoder where cmd looks: said, naming the program folder.
    ASSERT_TRUE(MoveFileA(folder.File("mencoder.exe").c_str(), folder.File("encoder.bak").c_str()));
    const std::string box = BoxOnRun(program, window, L"in.avi", L"out.flv");
    EXPECT_EQ(0u, box.find(kNoEncoder)) << box;
    EXPECT_NE(std::string::npos, box.find(folder.Path())) << box;

    EXPECT_TRUE(drive::IsEnabled(window, IDC_RUN));
    EXPECT_EQ(settings, ReadFileBytes(folder.File("Brumweld.ini")));
    EXPECT_EQ("source", ReadFileBytes(folder.File("in.avi")));
    EXPECT_FALSE(FileExists(folder.File("~enc.bat")));
    EXPECT_FALSE(FileExists(folder.File("INJECTED")));
    EXPECT_FALSE(FileExists(folder.File("out.flv")));
    EXPECT_EQ(chosenStamp, Stamp(chosen)) << "the chosen file was written";
    EXPECT_EQ(otherStamp, Stamp(other)) << "the other file was written";
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(program, 30000));
}

// Run under a locale whose ANSI code page is UTF-8 (its own CTest entry); skipped elsewhere.
TEST_F(Names, Utf8WindowsShowsItsBoxesAndWritesJapaneseNamesWhole)
{
    if (GetACP() != CP_UTF8) GTEST_SKIP() << "the ANSI code page is " << GetACP();
    PROCESS_INFORMATION program = Start(L"");
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    drive::Click(window, IDC_RUN);
    EXPECT_EQ(L"ファイル名を指定してください", Widen(AnswerBox(program, window)));
    Clip(folder.File(L"入力.avi"), "320x240");
    SetField(window, IDC_INPUT_FILE, folder.File(L"入力.avi"));
    SetField(window, IDC_OUTPUT_FILE, folder.File(L"出力.flv"));
    RunToIdle(program, window);
    EXPECT_EQ("320,240\n", FrameSize(folder.File(L"出力.flv")));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(program, 30000));
}

// Run under a locale whose ANSI and OEM code pages differ, 1252 and 850 (its own CTest entry):
// cmd reads the script's names in the OEM one, the encoder gets them in the ANSI one. A name
// one of the two cannot hold goes by its short name.
TEST_F(Names, WesternWindowsNamesReachTheEncoderWhole)
{
    if (GetACP() != 1252 || GetOEMCP() != 850) GTEST_SKIP() << "the code pages are " << GetACP() << " and " << GetOEMCP();
    ASSERT_TRUE(CopyFileA((ExecutableFolder() + "\\recording-encoder.exe").c_str(), folder.File("mencoder.exe").c_str(), FALSE));
    PROCESS_INFORMATION program = Start(L"");
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    // The euro sign is in 1252 only, the box-drawing sign in 850 only.
    const struct { std::wstring input, output; } runs[] = {
        {L"caf\u00E9.avi", L"caf\u00E9.flv"},
        {L"prix\u20AC.avi", L"prix.flv"},
        {L"cadre\u256C.avi", L"cadre.flv"},
    };
    for (const auto& run : runs) {
        WriteFileBytes(folder.File("made.avi"), "clip");
        ASSERT_TRUE(MoveFileW(folder.File(L"made.avi").c_str(), folder.File(run.input).c_str()));
        DeleteFileA(folder.File("encoder-args.txt").c_str());
        SetField(window, IDC_INPUT_FILE, run.input);
        SetField(window, IDC_OUTPUT_FILE, run.output);
        RunToIdle(program, window);
        // One argument a line, then "--": the input first, the output last.
        std::vector<std::wstring> args;
        const std::string recorded = ReadFileBytes(folder.File("encoder-args.txt"));
        for (size_t at = 0, end; (end = recorded.find("\r\n", at)) != std::string::npos; at = end + 2) {
            args.push_back(Widen(recorded.substr(at, end - at)));
        }
        ASSERT_GE(args.size(), 3u) << recorded;
        const std::wstring input = args.front(), output = args[args.size() - 2];
        wchar_t opened[MAX_PATH] = L"";
        // A relative name is written as given; a short name is a full one.
        GetLongPathNameW((input.find(L':') == std::wstring::npos ? folder.File(input) : input).c_str(), opened, MAX_PATH);
        EXPECT_EQ(folder.File(run.input), opened) << Narrow(input);
        EXPECT_EQ(run.output, output);
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(program, 30000));
}

}  // namespace
