#include "app/ProgramFixture.h"
#include "support/FileIdentity.h"
#include "support/ScopedHandle.h"
#include "tools/driver/Drive.h"
#include "ui/main/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

TEST_F(Program, QuotedCommandLinePathLandsUnquotedAndCloseSaves)
{
    PROCESS_INFORMATION program = Start("\"C:\\My Videos\\a b.avi\"");
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ("C:\\My Videos\\a b.avi", drive::GetText(window, IDC_INPUT_FILE));
    EXPECT_EQ("", drive::GetText(window, IDC_OUTPUT_FILE));

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(program, 30000));
    const std::string ini = ReadFileBytes(folder.File("Brumweld.ini"));
    int lines = 0;
    for (size_t at = ini.find("\r\n"); at != std::string::npos; at = ini.find("\r\n", at + 2)) ++lines;
    EXPECT_EQ(19, lines) << ini;
    EXPECT_EQ(0u, ini.find("[Brumweld]\r\nWinX="));
    EXPECT_EQ("samprate=2\r\n", ini.substr(ini.size() - 12));
}

TEST_F(Program, SecondStartEndsAtOnceWithoutAWindow)
{
    PROCESS_INFORMATION first = Start("");
    HWND window = drive::WaitForMainWindow(first.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    // The single-instance object by its exact name.
    ScopedHandle guard(OpenMutexA(SYNCHRONIZE, FALSE, "*Brumweld*"));
    EXPECT_TRUE(guard.IsValid());
    guard.Close();
    PROCESS_INFORMATION second = Start("\"C:\\other.avi\"");
    EXPECT_EQ(0u, ExitCode(second, 30000));
    EXPECT_EQ(nullptr, drive::FindProcessWindow(second.dwProcessId, nullptr, nullptr));
    EXPECT_EQ("", drive::GetText(window, IDC_INPUT_FILE));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(first, 30000));
    EXPECT_EQ(nullptr, OpenMutexA(SYNCHRONIZE, FALSE, "*Brumweld*")) << "the guard outlived its program";
}

TEST_F(Program, RunConvertsAClipAndReturnsToIdle)
{
    const std::string clip = folder.File("clip one.avi"), flv = folder.File("clip one.flv");
    MakeClip(clip, 3, "320x240");
    ASSERT_TRUE(FileExists(clip));
    PROCESS_INFORMATION program = Start("\"" + clip + "\"");
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    drive::SetText(window, IDC_OUTPUT_FILE, flv);
    drive::Click(window, IDC_RUN);
    ASSERT_TRUE(drive::WaitEnabled(window, IDC_RUN, false, 10000)) << "the window did not go busy";
    EXPECT_FALSE(drive::IsEnabled(window, IDC_EXIT));
    ASSERT_TRUE(drive::WaitEnabled(window, IDC_RUN, true, 120000)) << "the run did not end";
    EXPECT_TRUE(drive::IsEnabled(window, IDC_EXIT));
    EXPECT_EQ("flv1\nmp3\n", Streams(flv));
    EXPECT_FALSE(FileExists(folder.File("~enc.bat")));

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(program, 30000));
    EXPECT_TRUE(FileExists(folder.File("Brumweld.ini")));
}

TEST_F(Program, AStrayInitDialogFromAnotherProcessChangesNothing)
{
    PROCESS_INFORMATION program = Start("");
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    drive::SetText(window, IDC_VIDEO_BITRATE, "555");
    for (LPARAM value : {LPARAM(0), LPARAM(12345), LPARAM(-1)}) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(window, WM_INITDIALOG, 0, value, SMTO_ABORTIFHUNG, 5000, &answer);
    }
    EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), ExitCode(program, 500)) << "the program died";
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(program, 30000));
    EXPECT_NE(std::string::npos, ReadFileBytes(folder.File("Brumweld.ini")).find("\r\nbitrate=555\r\n"));
}

TEST_F(Program, AtADrivesRootTheScriptRunsInTheRoot)
{
    const char* drive = std::getenv("BRUMWELD_ROOT_DRIVE");
    if (!drive) GTEST_SKIP() << "no drive letter is mapped for this test";
    const std::string root = std::string(drive) + "\\";
    ASSERT_TRUE(CopyFileA(folder.File("Brumweld.exe").c_str(), (root + "Brumweld.exe").c_str(), FALSE));
    // The recording stand-in writes what it received into its current folder.
    ASSERT_TRUE(CopyFileA((ExecutableFolder() + "\\recording-encoder.exe").c_str(), (root + "mencoder.exe").c_str(), FALSE));
    CreateDirectoryA((root + "sub").c_str(), nullptr);
    WriteFileBytes(root + "in.avi", "clip");
    // Started from a folder of that drive, where "R:" alone names that folder, not the root.
    PROCESS_INFORMATION program = StartFrom(root + "Brumweld.exe", "\"" + root + "in.avi\"", root + "sub");
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    drive::SetText(window, IDC_OUTPUT_FILE, root + "out.flv");
    drive::Click(window, IDC_RUN);
    ASSERT_TRUE(drive::WaitEnabled(window, IDC_RUN, false, 10000));
    ASSERT_TRUE(drive::WaitEnabled(window, IDC_RUN, true, 30000));
    EXPECT_TRUE(FileExists(root + "encoder-args.txt"));
    EXPECT_FALSE(FileExists(root + "sub\\encoder-args.txt"));
    EXPECT_FALSE(FileExists(root + "~enc.bat"));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(program, 30000));
}

TEST_F(Program, EscDuringARunExitsAndTheEncoderFinishes)
{
    // Two passes over a longer clip: the run is still going when Esc comes.
    const std::string clip = folder.File("long.avi"), flv = folder.File("long.flv");
    MakeClip(clip, 60, "640x480");
    WriteFileBytes(folder.File("Brumweld.ini"), "[Video]\r\nmode=2\r\n");
    PROCESS_INFORMATION program = Start("\"" + clip + "\"");
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    drive::SetText(window, IDC_OUTPUT_FILE, flv);
    drive::Click(window, IDC_RUN);
    ASSERT_TRUE(drive::WaitEnabled(window, IDC_RUN, false, 10000));
    ASSERT_TRUE(FileExists(folder.File("~enc.bat")));
    ScopedHandle script(ScriptProcess(program));
    ASSERT_TRUE(script.IsValid());

    // Esc reaches the focused field; the dialog manager makes it the cancel command.
    PostMessageA(GetDlgItem(window, IDC_INPUT_FILE), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_EQ(0u, ExitCode(program, 30000));
    EXPECT_TRUE(FileExists(folder.File("Brumweld.ini")));
    EXPECT_TRUE(FileExists(folder.File("~enc.bat"))) << "the script stays when the program ends first";

    // The script's console runs on by itself: wait for it, then for a whole file.
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(script.Get(), 180000)) << "the script did not end";
    TerminateProcess(script.Get(), 1);
    const std::string streams = Streams(flv);
    EXPECT_EQ("flv1\nmp3\n", streams) << "the encoder did not finish its file";
}

// A desktop with a panel at the top, as Linux desktops under Wine have (tools/with-display makes
// one of BRUMWELD_PANEL pixels): the window opens where it was saved and is saved where it opened.
TEST_F(Program, UnderAPanelThePlaceIsKeptAcrossStartsAndAMinimizedClose)
{
    const char* panel = std::getenv("BRUMWELD_PANEL");
    if (!panel) GTEST_SKIP() << "no panel on this display";
    RECT work;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    ASSERT_EQ(std::atoi(panel), work.top) << "the panel is not in the work area";
    WriteFileBytes(folder.File("Brumweld.ini"), "[Brumweld]\r\nWinX=100\r\nWinY=120\r\n");
    for (int start = 0; start < 3; ++start) {
        PROCESS_INFORMATION program = Start("");
        HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
        ASSERT_NE(nullptr, window);
        RECT frame;
        GetWindowRect(window, &frame);
        EXPECT_EQ(100, frame.left) << start;
        EXPECT_EQ(120, frame.top) << start;
        if (start == 2) {
            PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            for (DWORD wait = GetTickCount(); !IsIconic(window) && GetTickCount() - wait < 10000;) Sleep(50);
            ASSERT_TRUE(IsIconic(window));
        }
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(0u, ExitCode(program, 30000));
        EXPECT_NE(std::string::npos, ReadFileBytes(folder.File("Brumweld.ini")).find("\r\nWinX=100\r\nWinY=120\r\n"))
            << "start " << start;
    }
}

// With "play after" on, the player opens what the run made, by its full name as the user spelt
// it; a run that made nothing, or never started, says so and plays nothing, and a run that
// never started touches nothing.
TEST_F(Program, TheEndOfARunPlaysOnlyWhatItMadeAndAFailedStartTouchesNothing)
{
    // The recording encoder writes its output only when its input exists and is not "unmade".
    ASSERT_TRUE(CopyFileA((ExecutableFolder() + "\\recording-encoder.exe").c_str(), folder.File("mencoder.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((ExecutableFolder() + "\\player.exe").c_str(), folder.File("player.exe").c_str(), FALSE));
    WriteFileBytes(folder.File("unmade.avi"), "clip");
    WriteFileBytes(folder.File("old.flv"), "old");
    // The name outside the code page exists, so it has a short name to be written by.
    ASSERT_TRUE(CopyFileW(folder.File(L"old.flv").c_str(), folder.File(L"caf\u00E9.flv").c_str(), FALSE));
    WriteFileBytes(folder.File("Brumweld.ini"), "[Brumweld]\r\nOptFlag=4\r\nPlayer=" + folder.File("player.exe") + "\r\n");
    PROCESS_INFORMATION program = Start("in.avi");
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    const std::string played = folder.File("player-args.txt");
    // Asked once the run's end is shown, which the program records after starting the player.
    auto player = [&] { return PlayerArguments(program.dwProcessId, played); };

    // Relative, and outside the code page: the player gets the full name, spelt as given.
    SetField(window, IDC_OUTPUT_FILE, L"caf\u00E9.flv");
    RunToIdle(program, window);
    EXPECT_EQ(folder.Path() + "\\caf\xC3\xA9.flv\r\n", player());

    const struct { const char* input; const char* output; } unmade[] = {{"unmade.avi", "none.flv"}, {"unmade.avi", "old.flv"}};
    for (const auto& run : unmade) {
        DeleteFileA(played.c_str());
        drive::SetText(window, IDC_INPUT_FILE, run.input);
        drive::SetText(window, IDC_OUTPUT_FILE, run.output);
        RunToIdle(program, window);
        EXPECT_EQ("変換後のﾌｧｲﾙが作成されませんでした", AnswerBox(program, window)) << run.output;
        EXPECT_EQ("(player not started)", player()) << run.output;
    }
    EXPECT_EQ("old", ReadFileBytes(folder.File("old.flv")));

    // A script that cannot be written: another job's pass log stays, and nothing runs or plays.
    ASSERT_TRUE(CreateDirectoryA(folder.File("~enc.bat").c_str(), nullptr));
    WriteFileBytes(folder.File("~pass.log"), "another job");
    drive::SetText(window, IDC_INPUT_FILE, "in.avi");
    drive::Click(window, IDC_RUN);
    // With the system's reason and the folder.
    const std::string box = AnswerBox(program, window);
    EXPECT_EQ(0u, box.find("ﾊﾞｯﾁﾌｧｲﾙを作成できませんでした。\r\n")) << box;
    EXPECT_EQ(folder.Path(), box.substr(box.size() - folder.Path().size())) << box;
    EXPECT_TRUE(drive::IsEnabled(window, IDC_RUN));
    EXPECT_EQ("(player not started)", player());
    EXPECT_EQ("another job", ReadFileBytes(folder.File("~pass.log")));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(program, 30000));
}

// Run's encoder check looks where cmd looks: the program folder, then the PATH, quotes grouping
// an entry and relative entries judged from the program folder; the first match decides and
// only a program counts. Each "runs" row is checked by the encoder cmd really started.
TEST_F(Program, TheEncoderCheckFollowsCmdsSearch)
{
    const std::string f = folder.Path(), encoder = ExecutableFolder() + "\\recording-encoder.exe";
    ASSERT_TRUE(MoveFileA(folder.File("mencoder.exe").c_str(), folder.File("bridge.bak").c_str()));
    for (const char* place : {"a;b", "plain", "bin", "empty", "dir", "dir\\mencoder.exe"}) {
        ASSERT_TRUE(CreateDirectoryA(folder.File(place).c_str(), nullptr)) << place;
    }
    for (const char* place : {"a;b", "plain", "bin"}) {
        ASSERT_TRUE(CopyFileA(encoder.c_str(), folder.File(std::string(place) + "\\mencoder.exe").c_str(), FALSE));
    }
    WriteFileBytes(folder.File("empty\\mencoder.exe"), "");
    WriteFileBytes(folder.File("in.avi"), "clip");
    TempFolder elsewhere;
    const struct { std::string path; bool runs; } rows[] = {
        {"\"" + f + "\\a;b\"", true},
        {"\"" + f + "\\rel;" + f + "\\plain\"", false},
        {"bin", true},
        {f + "\\dir;" + f + "\\plain", false},
        {f + "\\empty;" + f + "\\plain", false},
        {";" + f + "\\plain", false},
        {f + "\\plain", true},
    };
    wchar_t saved[32767] = L"";
    GetEnvironmentVariableW(L"PATH", saved, 32767);
    for (const auto& row : rows) {
        SetEnvironmentVariableA("PATH", row.path.c_str());
        PROCESS_INFORMATION program = StartFrom(folder.File("Brumweld.exe"), "in.avi", elsewhere.Path());
        SetEnvironmentVariableW(L"PATH", saved);
        HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
        ASSERT_NE(nullptr, window) << row.path;
        drive::SetText(window, IDC_OUTPUT_FILE, "out.flv");
        DeleteFileA(folder.File("encoder-args.txt").c_str());
        if (row.runs) {
            RunToIdle(program, window);
            EXPECT_TRUE(FileExists(folder.File("encoder-args.txt"))) << row.path;
        } else {
            drive::Click(window, IDC_RUN);
            EXPECT_EQ(0u, AnswerBox(program, window).find("mencoder.exe が見つかりません。")) << row.path;
        }
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(0u, ExitCode(program, 30000));
    }
}

// What users set in their Windows changes nothing that runs: Wine's cmd ignores the registry and
// NoDefaultCurrentDirectoryInExePath, so what is checked is what the program hands cmd (its line
// and its environment, as the encoder records them). The program folder's name holds %BRUMX% of a
// set variable, and a decoy script waits where its expansion leads. A conversion that fails is
// said with cmd's exit code; an output linked to the pass log, which is not there yet, survives
// the clean-up; a quit message from another program ends the program as a close does.
TEST_F(Program, WhatTheUsersWindowsSetsChangesNothingThatRuns)
{
    const std::string f = folder.File("p%BRUMX%");
    ASSERT_TRUE(CreateDirectoryA(f.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((f + "\\out").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(folder.File("pdecoy").c_str(), nullptr));
    WriteFileBytes(folder.File("pdecoy\\~enc.bat"), "@echo off\r\necho decoy> \"" + folder.File("decoy.txt") + "\"\r\n");
    ASSERT_TRUE(CopyFileA(folder.File("Brumweld.exe").c_str(), (f + "\\Brumweld.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((ExecutableFolder() + "\\recording-encoder.exe").c_str(), (f + "\\mencoder.exe").c_str(), FALSE));
    for (const char* input : {"\\in.avi", "\\fail.avi"}) WriteFileBytes(f + input, "clip");
    SetEnvironmentVariableA("BRUMX", "decoy");
    SetEnvironmentVariableA("NoDefaultCurrentDirectoryInExePath", "1");
    PROCESS_INFORMATION program = StartFrom(f + "\\Brumweld.exe", "in.avi", f);
    SetEnvironmentVariableA("BRUMX", nullptr);
    SetEnvironmentVariableA("NoDefaultCurrentDirectoryInExePath", nullptr);
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    drive::SetText(window, IDC_OUTPUT_FILE, "out.flv");
    RunToIdle(program, window);
    EXPECT_NE(std::string::npos, ReadFileBytes(f + "\\encoder-parent.txt").find("\" /d /v:off /s /c \"\""));
    EXPECT_EQ(std::string::npos, ReadFileBytes(f + "\\encoder-environment.txt").find("NoDefaultCurrentDirectoryInExePath"));
    EXPECT_EQ("FLV\x01", ReadFileBytes(f + "\\out.flv"));
    EXPECT_FALSE(FileExists(folder.File("decoy.txt"))) << "another folder's script ran";

    drive::SetText(window, IDC_INPUT_FILE, "fail.avi");
    RunToIdle(program, window);
    const std::string box = AnswerBox(program, window);
    EXPECT_EQ(0u, box.find("変換に失敗しました。\r\n終了ｺｰﾄﾞ: 1\r\n")) << box;

    // A one-pass run writes its output through the link into ~pass.log, which the clean-up keeps.
    Host("ln.exe -s \"" + f + "\\~pass.log\" \"" + f + "\\out\\linked.flv\"");
    drive::SetText(window, IDC_INPUT_FILE, "in.avi");
    drive::SetText(window, IDC_OUTPUT_FILE, "out\\linked.flv");
    RunToIdle(program, window);
    EXPECT_EQ("FLV\x01", ReadFileBytes(f + "\\~pass.log")) << "the clean-up deleted the output";

    drive::SetText(window, IDC_VIDEO_BITRATE, "555");
    PostThreadMessageA(GetWindowThreadProcessId(window, nullptr), WM_QUIT, 0, 0);
    EXPECT_EQ(0u, ExitCode(program, 30000));
    EXPECT_NE(std::string::npos, ReadFileBytes(f + "\\Brumweld.ini").find("\r\nbitrate=555\r\n"));
}

// The main window tests' stand-in encoder: it waits while a test holds its gate, else ends at once.
class BusyProgram : public Program {
protected:
    BusyProgram()
    {
        CopyFileA((ExecutableFolder() + "\\waiting-encoder.exe").c_str(), folder.File("mencoder.exe").c_str(), FALSE);
    }

    HWND StartReady(PROCESS_INFORMATION& program)
    {
        program = Start("in.avi");
        HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
        if (window) drive::SetText(window, IDC_OUTPUT_FILE, "out.flv");
        return window;
    }

    static bool CloseEnabled(HWND window)
    {
        return !(GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
    }
};

TEST_F(BusyProgram, ARunCommandOrPrivateMessageWhileARunIsBusyChangesNothing)
{
    ScopedHandle gate(CreateEventA(nullptr, TRUE, FALSE, "BrumweldTestEncoderGate"));
    ASSERT_TRUE(gate.IsValid());
    PROCESS_INFORMATION program;
    HWND window = StartReady(program);
    ASSERT_NE(nullptr, window);
    drive::Click(window, IDC_RUN);
    ASSERT_TRUE(drive::WaitEnabled(window, IDC_RUN, false, 10000));
    const std::string script = ReadFileBytes(folder.File("~enc.bat"));
    // Another program sends the command; it is handled when SendMessage returns.
    drive::SetText(window, IDC_OUTPUT_FILE, "second.flv");
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_RUN, BN_CLICKED), 0);
    EXPECT_FALSE(drive::IsEnabled(window, IDC_RUN));
    EXPECT_FALSE(drive::IsEnabled(window, IDC_EXIT));
    EXPECT_EQ(script, ReadFileBytes(folder.File("~enc.bat")));
    // The end of a run reaches the window as a private message: the same from another program
    // ends nothing.
    for (UINT message = WM_USER + 1; message <= WM_USER + 200; ++message) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(window, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    }
    EXPECT_FALSE(drive::IsEnabled(window, IDC_RUN));
    EXPECT_FALSE(drive::IsEnabled(window, IDC_EXIT));
    EXPECT_FALSE(CloseEnabled(window));
    SetEvent(gate.Get());
    EXPECT_TRUE(drive::WaitEnabled(window, IDC_RUN, true, 30000));
    EXPECT_TRUE(drive::IsEnabled(window, IDC_EXIT));
    EXPECT_EQ("done\r\n", ReadFileBytes(folder.File("encoder-done.txt"))) << "one run, one encoder";
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(program, 30000));
}

TEST_F(BusyProgram, RunsPressedBackToBackAreBusyInFull)
{
    PROCESS_INFORMATION program;
    HWND window = StartReady(program);
    ASSERT_NE(nullptr, window);
    // Only this test starts runs, so Run read disabled before and after means one busy state
    // throughout. Read from here, the window's three changes are not one step: Exit or Close
    // counts as enabled only when seen so twice, 30 ms apart.
    int clicks = 0, busySeen = 0, halfBusy = 0;
    for (DWORD start = GetTickCount(); clicks < 60 && GetTickCount() - start < 120000;) {
        if (drive::IsEnabled(window, IDC_RUN)) {
            drive::Click(window, IDC_RUN);
            ++clicks;
            continue;
        }
        bool first = drive::IsEnabled(window, IDC_EXIT) || CloseEnabled(window);
        Sleep(30);
        bool second = drive::IsEnabled(window, IDC_EXIT) || CloseEnabled(window);
        if (drive::IsEnabled(window, IDC_RUN)) continue;
        ++busySeen;
        if (first && second) ++halfBusy;
    }
    EXPECT_EQ(60, clicks);
    EXPECT_GT(busySeen, 10);
    EXPECT_EQ(0, halfBusy) << "Run disabled while Exit or Close stayed enabled";
    // The last click may still be queued: idle means Run enabled for a whole second.
    for (DWORD idleSince = GetTickCount(); GetTickCount() - idleSince < 1000; Sleep(50)) {
        if (!drive::IsEnabled(window, IDC_RUN)) {
            ASSERT_TRUE(drive::WaitEnabled(window, IDC_RUN, true, 30000));
            idleSince = GetTickCount();
        }
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(program, 30000));
}

// A job started through a drive letter mapped to the program folder holds back Run in a program
// started by the folder's long name: the hold belongs to the folder's script itself, not to a
// spelling of the folder. A file's identity is told through either name where the volume gives
// none (the zeros below), by where the names lead.
TEST_F(BusyProgram, AJobStartedThroughADriveLetterHoldsBackRunByTheFoldersLongName)
{
    const char* drive = std::getenv("BRUMWELD_ROOT_DRIVE");
    if (!drive) GTEST_SKIP() << "no drive letter is mapped for this test";
    const std::string root = std::string(drive) + "\\", named = ExecutableFolder() + "\\drive-root\\";
    for (const char* name : {"Brumweld.exe", "mencoder.exe", "in.avi"}) {
        ASSERT_TRUE(CopyFileA(folder.File(name).c_str(), (root + name).c_str(), FALSE)) << name;
    }
    const BY_HANDLE_FILE_INFORMATION unknown = {};
    EXPECT_TRUE(IsSameFile(unknown, Widen(root + "in.avi").c_str(), unknown, Widen(named + "in.avi").c_str()));
    ScopedHandle gate(CreateEventA(nullptr, TRUE, FALSE, "BrumweldTestEncoderGate"));
    PROCESS_INFORMATION first = StartFrom(root + "Brumweld.exe", "in.avi", root);
    HWND window = drive::WaitForMainWindow(first.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    drive::SetText(window, IDC_OUTPUT_FILE, "out.flv");
    drive::Click(window, IDC_RUN);
    ASSERT_TRUE(drive::WaitEnabled(window, IDC_RUN, false, 10000)) << AnswerBox(first, window);
    ScopedHandle script(ScriptProcess(first));
    ASSERT_TRUE(script.IsValid());
    PostMessageA(GetDlgItem(window, IDC_INPUT_FILE), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ASSERT_EQ(0u, ExitCode(first, 30000));
    // Windows' cmd holds no handle on its script; Wine's holds one that shares writing, so a
    // writer that shares everything is kept out only by the hold the job's cmd got from the program.
    ScopedHandle writer(CreateFileA((named + "~enc.bat").c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(writer.IsValid());
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError());

    PROCESS_INFORMATION second = StartFrom(named + "Brumweld.exe", "in.avi", named);
    window = drive::WaitForMainWindow(second.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    drive::SetText(window, IDC_OUTPUT_FILE, "second.flv");
    drive::Click(window, IDC_RUN);
    EXPECT_EQ("前回の変換がまだ終わっていません", AnswerBox(second, window));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(second, 30000));
    SetEvent(gate.Get());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(script.Get(), 30000));
    EXPECT_EQ("done\r\n", ReadFileBytes(root + "encoder-done.txt")) << "one job";
    for (const char* name : {"Brumweld.exe", "mencoder.exe", "in.avi", "encoder-done.txt", "Brumweld.ini", "~enc.bat"}) {
        DeleteFileA((root + name).c_str());
    }
}

// Windows' cmd keeps only an offset into a running script and reopens it for each line: a
// second Run rewriting it would change what the first job runs next. The refusal comes from the
// job's hold on the script, which its cmd keeps to the console's end (Wine's cmd, measured, lets a
// running script be rewritten).
TEST_F(BusyProgram, AJobThatOutlivesItsWindowHoldsBackRunInItsFolderOnly)
{
    ScopedHandle gate(CreateEventA(nullptr, TRUE, FALSE, "BrumweldTestEncoderGate"));
    ASSERT_TRUE(gate.IsValid());
    WriteFileBytes(folder.File("Brumweld.ini"), "[Brumweld]\r\nOptFlag=1\r\n[Video]\r\nmode=2\r\n");
    WriteFileBytes(folder.File("in.avi"), "clip");
    PROCESS_INFORMATION first;
    HWND window = StartReady(first);
    ASSERT_NE(nullptr, window);
    drive::Click(window, IDC_RUN);
    ASSERT_TRUE(drive::WaitEnabled(window, IDC_RUN, false, 10000));
    ScopedHandle script(ScriptProcess(first));
    ASSERT_TRUE(script.IsValid());
    const std::string firstScript = ReadFileBytes(folder.File("~enc.bat"));
    PostMessageA(GetDlgItem(window, IDC_INPUT_FILE), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ASSERT_EQ(0u, ExitCode(first, 30000));

    PROCESS_INFORMATION second;
    window = StartReady(second);
    ASSERT_NE(nullptr, window);
    drive::SetText(window, IDC_OUTPUT_FILE, "second.flv");
    drive::Click(window, IDC_RUN);
    EXPECT_EQ("前回の変換がまだ終わっていません", AnswerBox(second, window));
    EXPECT_TRUE(drive::IsEnabled(window, IDC_RUN));
    EXPECT_EQ(firstScript, ReadFileBytes(folder.File("~enc.bat")));
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(0u, ExitCode(second, 30000));

    // A copy in another folder runs meanwhile: its job is its own.
    TempFolder other;
    for (const char* name : {"Brumweld.exe", "mencoder.exe", "in.avi"}) {
        ASSERT_TRUE(CopyFileA(folder.File(name).c_str(), other.File(name).c_str(), FALSE));
    }
    PROCESS_INFORMATION copy = StartFrom(other.File("Brumweld.exe"), "in.avi", other.Path());
    window = drive::WaitForMainWindow(copy.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    drive::SetText(window, IDC_OUTPUT_FILE, "out.flv");
    drive::Click(window, IDC_RUN);
    EXPECT_TRUE(drive::WaitEnabled(window, IDC_RUN, false, 10000)) << AnswerBox(copy, window);

    // The first job's console waits for a key at its end: that is still the job.
    SetEvent(gate.Get());
    EXPECT_TRUE(drive::WaitEnabled(window, IDC_RUN, true, 30000));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(copy, 30000));
    for (DWORD start = GetTickCount(); ReadFileBytes(folder.File("encoder-done.txt")).size() < 12; Sleep(50)) {
        if (GetTickCount() - start > 30000) break;
    }
    EXPECT_EQ("done\r\ndone\r\n", ReadFileBytes(folder.File("encoder-done.txt"))) << "one job of two passes";
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(script.Get(), 1000)) << "the console did not wait for a key";
    PROCESS_INFORMATION waiting;
    window = StartReady(waiting);
    ASSERT_NE(nullptr, window);
    drive::Click(window, IDC_RUN);
    EXPECT_EQ("前回の変換がまだ終わっていません", AnswerBox(waiting, window));

    // Once the job has ended, Run converts again (without waiting for a key this time).
    TerminateProcess(script.Get(), 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(script.Get(), 10000));
    SendDlgItemMessageA(window, IDC_WAIT_FOR_KEY, BM_SETCHECK, BST_UNCHECKED, 0);
    RunToIdle(waiting, window);
    EXPECT_EQ("done\r\ndone\r\ndone\r\ndone\r\n", ReadFileBytes(folder.File("encoder-done.txt")));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(waiting, 30000));
}

}  // namespace

// Each file box opens, though the settings remember folders it cannot take: the input's 282
// characters long, the output's gone, the player's inside the long one; then the input's the short
// name of a 315-character folder, which the box would take in its long form. Each is cancelled,
// and the program then closes and keeps those settings as they were.
TEST_F(Program, FileBoxesOpenWithFoldersTheyCannotTake)
{
    CreateDirectoryA(folder.File("x").c_str(), nullptr);
    const std::string deep = MakeDeepFolder(folder.Path(), 282), deeper = MakeDeepFolder(folder.File("x"), 315);
    ASSERT_FALSE(deep.empty());
    ASSERT_FALSE(deeper.empty());
    wchar_t shortName[MAX_PATH] = L"";
    ASSERT_NE(0u, GetShortPathNameW((L"\\\\?\\" + Widen(deeper)).c_str(), shortName, MAX_PATH));
    const std::string shortDeeper = Narrow(shortName + 4);
    ASSERT_LT(shortDeeper.size(), 200u) << shortDeeper;
    const struct { std::string ini; std::vector<std::string> kept; } starts[] = {
        {"[Brumweld]\r\nInputDir=" + deep + "\r\nOutputDir=" + folder.File("gone") + "\r\nPlayer=" + deep + "\\player.exe\r\n",
         {"InputDir=" + deep + "\r\n", "Player=" + deep + "\\player.exe\r\n"}},
        {"[Brumweld]\r\nInputDir=" + shortDeeper + "\r\n", {"InputDir=" + shortDeeper + "\r\n"}},
    };
    for (const auto& start : starts) {
        WriteFileBytes(folder.File("Brumweld.ini"), start.ini);
        PROCESS_INFORMATION program = Start("");
        HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
        ASSERT_NE(nullptr, window);
        for (int button : {IDC_BROWSE_INPUT, IDC_BROWSE_OUTPUT, IDC_CHOOSE_PLAYER}) {
            drive::Click(window, button);
            ASSERT_EQ("", AnswerBox(program, window, IDCANCEL)) << "no file box for " << button << " in " << start.ini;
            for (DWORD start = GetTickCount(); !IsWindowEnabled(window) && GetTickCount() - start < 10000;) Sleep(50);
            ASSERT_TRUE(IsWindowEnabled(window)) << "the window stayed disabled after " << button;
        }
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(0u, ExitCode(program, 30000));
        const std::string saved = ReadFileBytes(folder.File("Brumweld.ini"));
        for (const std::string& line : start.kept) {
            EXPECT_NE(std::string::npos, saved.find(line)) << line;
        }
    }
}
