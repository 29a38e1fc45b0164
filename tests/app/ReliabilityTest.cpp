#include "app/ProgramFixture.h"
#include "common/Reliability.h"
#include "tools/driver/Drive.h"
#include "ui/main/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

// Faults met by the real program: each must end with the window idle or the program
// ended normally, and no settings lost.
class Faults : public Program {
protected:
    HWND Open(PROCESS_INFORMATION& program, const std::string& arguments = "")
    {
        program = Start(arguments);
        return drive::WaitForMainWindow(program.dwProcessId, 30000);
    }

    // Run pressed: the window must go busy and come back idle, with the process still there.
    bool RunsAndReturnsToIdle(HWND window, const PROCESS_INFORMATION& program, DWORD milliseconds = 60000)
    {
        drive::Click(window, IDC_RUN);
        drive::WaitEnabled(window, IDC_RUN, false, 2000);
        bool idle = drive::WaitEnabled(window, IDC_RUN, true, milliseconds);
        return idle && WaitForSingleObject(program.hProcess, 0) == WAIT_TIMEOUT;
    }

    bool ClosesWithZero(HWND window, const PROCESS_INFORMATION& program)
    {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return ExitCode(program, 30000) == 0;
    }

    void Survived(bool survived)
    {
        reliability::BadInputTried();
        if (survived) reliability::FaultSurvived();
    }

    void Kept(const std::string& before, const std::string& after)
    {
        if (before != after) reliability::DataLost();
        EXPECT_EQ(before, after) << "the settings file changed";
    }
};

TEST_F(Faults, ScriptHeldOpenRunsNothing)
{
    const std::string script = folder.File("~enc.bat");
    WriteFileBytes(script, "@echo off\r\nmencoder.exe stale\r\n");
    HANDLE held = CreateFileA(script.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    PROCESS_INFORMATION program;
    HWND window = Open(program, "C:\\in.avi");
    ASSERT_NE(nullptr, window);
    drive::SetText(window, IDC_OUTPUT_FILE, folder.File("out.flv"));
    bool survived = RunsAndReturnsToIdle(window, program, 10000);
    CloseHandle(held);
    EXPECT_TRUE(survived);
    EXPECT_FALSE(FileExists(folder.File("out.flv")));
    EXPECT_TRUE(ClosesWithZero(window, program));
    Survived(survived);
}

TEST_F(Faults, EncoderMissingAndPlayerMissing)
{
    DeleteFileA(folder.File("mencoder.exe").c_str());
    WriteFileBytes(folder.File("Brumweld.ini"), "[Brumweld]\r\nOptFlag=4\r\nPlayer=C:\\missing\\player.exe\r\n");
    PROCESS_INFORMATION program;
    HWND window = Open(program, "C:\\in.avi");
    ASSERT_NE(nullptr, window);
    drive::SetText(window, IDC_OUTPUT_FILE, "C:\\out.flv");
    bool survived = RunsAndReturnsToIdle(window, program);
    EXPECT_TRUE(survived) << "the window did not return to idle";
    EXPECT_TRUE(ClosesWithZero(window, program));
    Survived(survived);
}

TEST_F(Faults, PathOf600Characters)
{
    const std::string path = "C:\\" + std::string(596, 'p') + ".avi";
    PROCESS_INFORMATION program;
    HWND window = Open(program, "\"" + path + "\"");
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(path, drive::GetText(window, IDC_INPUT_FILE));
    drive::SetText(window, IDC_OUTPUT_FILE, path + ".flv");
    bool survived = RunsAndReturnsToIdle(window, program);
    EXPECT_TRUE(survived);
    EXPECT_TRUE(ClosesWithZero(window, program));
    Survived(survived);
}

TEST_F(Faults, ReadOnlyOrHeldSettingsFileSurvivesWhole)
{
    const std::string ini = folder.File("Brumweld.ini");
    const std::string before = "[Brumweld]\r\nOptFlag=1\r\n; kept as it is\r\n[Video]\r\nmode=2\r\n";
    for (int held = 0; held < 2; ++held) {
        WriteFileBytes(ini, before);
        HANDLE handle = INVALID_HANDLE_VALUE;
        if (held) {
            handle = CreateFileA(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        } else {
            SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY);
        }
        PROCESS_INFORMATION program;
        HWND window = Open(program);
        ASSERT_NE(nullptr, window);
        CheckDlgButton(window, IDC_KEEP_BATCH, BST_CHECKED);
        const bool closed = ClosesWithZero(window, program);
        EXPECT_TRUE(closed);
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
        Kept(before, ReadFileBytes(ini));
        EXPECT_FALSE(FileExists(ini + ".tmp"));
        SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
        Survived(closed);
    }
}

TEST_F(Faults, FullDiskKeepsTheOldSettingsFile)
{
    const char* disk = std::getenv("BRUMWELD_FULL_DISK");
    ASSERT_NE(nullptr, disk);
    const std::string reason = ReadFileBytes(std::string(disk) + "/skip-reason");
    if (!reason.empty()) GTEST_SKIP() << reason;
    const std::string folderPath = "Z:" + std::string(disk);
    std::string windowsFolder = folderPath;
    for (char& c : windowsFolder) if (c == '/') c = '\\';
    const std::string ini = windowsFolder + "\\Brumweld.ini", before = ReadFileBytes(ini);
    ASSERT_FALSE(before.empty());

    PROCESS_INFORMATION program = StartFrom(windowsFolder + "\\Brumweld.exe", "", "");
    ASSERT_NE(nullptr, program.hProcess);
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(2, SendDlgItemMessageA(window, IDC_VIDEO_MODE, CB_GETCURSEL, 0, 0));
    const bool closed = ClosesWithZero(window, program);
    EXPECT_TRUE(closed);
    Kept(before, ReadFileBytes(ini));
    EXPECT_FALSE(FileExists(ini + ".tmp"));
    Survived(closed);
}

TEST_F(Faults, KilledDuringARunLeavesTheLastSavedSettings)
{
    PROCESS_INFORMATION first;
    HWND window = Open(first);
    ASSERT_NE(nullptr, window);
    CheckDlgButton(window, IDC_PLAY_AFTER, BST_CHECKED);
    ASSERT_TRUE(ClosesWithZero(window, first));
    const std::string saved = ReadFileBytes(folder.File("Brumweld.ini"));
    ASSERT_NE(std::string::npos, saved.find("OptFlag=4"));

    const std::string clip = folder.File("clip.avi");
    MakeClip(clip, 30, "640x480");
    PROCESS_INFORMATION second;
    window = Open(second, "\"" + clip + "\"");
    ASSERT_NE(nullptr, window);
    CheckDlgButton(window, IDC_PLAY_AFTER, BST_UNCHECKED);
    drive::SetText(window, IDC_OUTPUT_FILE, folder.File("clip.flv"));
    drive::Click(window, IDC_RUN);
    ASSERT_TRUE(drive::WaitEnabled(window, IDC_RUN, false, 10000));
    HANDLE script = ScriptProcess(second);
    TerminateProcess(second.hProcess, 9);
    WaitForSingleObject(second.hProcess, 10000);
    Kept(saved, ReadFileBytes(folder.File("Brumweld.ini")));
    Survived(true);

    // The encoder runs on by itself; its console is ended before the folder goes.
    if (script) {
        WaitForSingleObject(script, 60000);
        TerminateProcess(script, 1);
        CloseHandle(script);
    }
}

}  // namespace
