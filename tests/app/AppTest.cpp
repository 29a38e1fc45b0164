#include "app/ProgramFixture.h"
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
    PROCESS_INFORMATION second = Start("\"C:\\other.avi\"");
    EXPECT_EQ(0u, ExitCode(second, 30000));
    EXPECT_EQ(nullptr, drive::FindProcessWindow(second.dwProcessId, nullptr, nullptr));
    EXPECT_EQ("", drive::GetText(window, IDC_INPUT_FILE));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(first, 30000));
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
    ASSERT_TRUE(CopyFileA((ExecutableFolder() + "\\..\\job\\mencoder.exe").c_str(), (root + "mencoder.exe").c_str(), FALSE));
    CreateDirectoryA((root + "sub").c_str(), nullptr);
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
    HANDLE script = ScriptProcess(program);
    ASSERT_NE(nullptr, script);

    // Esc reaches the focused field; the dialog manager makes it the cancel command.
    PostMessageA(GetDlgItem(window, IDC_INPUT_FILE), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_EQ(0u, ExitCode(program, 30000));
    EXPECT_TRUE(FileExists(folder.File("Brumweld.ini")));
    EXPECT_TRUE(FileExists(folder.File("~enc.bat"))) << "the script stays when the program ends first";

    // The script's console runs on by itself: wait for it, then for a whole file.
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(script, 180000)) << "the script did not end";
    TerminateProcess(script, 1);
    CloseHandle(script);
    const std::string streams = Streams(flv);
    EXPECT_EQ("flv1\nmp3\n", streams) << "the encoder did not finish its file";
}

}  // namespace
