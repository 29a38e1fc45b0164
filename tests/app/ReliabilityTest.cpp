#include "app/ProgramFixture.h"
#include "support/ScopedHandle.h"
#include "common/Reliability.h"
#include "tools/driver/Drive.h"
#include "ui/main/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

    // Closes the window; settings that cannot be saved in the folder named are said in a box,
    // answered here.
    bool ClosesWithZero(HWND window, const PROCESS_INFORMATION& program, const std::string& unsavedIn = "")
    {
        PostMessageA(window, WM_CLOSE, 0, 0);
        if (!unsavedIn.empty()) {
            const std::string box = AnswerBox(program, window);
            EXPECT_EQ(0u, box.find("設定を保存できませんでした。\r\n")) << box;
            EXPECT_EQ(unsavedIn, box.substr(box.size() - std::min(box.size(), unsavedIn.size()))) << box;
        }
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
    ScopedHandle held(CreateFileA(script.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.IsValid());
    PROCESS_INFORMATION program;
    HWND window = Open(program, "in.avi");
    ASSERT_NE(nullptr, window);
    drive::SetText(window, IDC_OUTPUT_FILE, folder.File("out.flv"));
    drive::Click(window, IDC_RUN);
    // Held without write sharing, the script is held as a job of this folder holds it.
    EXPECT_EQ("前回の変換がまだ終わっていません", AnswerBox(program, window));
    bool survived = drive::IsEnabled(window, IDC_RUN) && WaitForSingleObject(program.hProcess, 0) == WAIT_TIMEOUT;
    held.Close();
    EXPECT_TRUE(survived);
    EXPECT_FALSE(FileExists(folder.File("out.flv")));
    EXPECT_TRUE(ClosesWithZero(window, program));
    Survived(survived);
}

TEST_F(Faults, EncoderMissingAndPlayerMissing)
{
    ASSERT_TRUE(MoveFileA(folder.File("mencoder.exe").c_str(), folder.File("encoder.bak").c_str()));
    WriteFileBytes(folder.File("Brumweld.ini"), "[Brumweld]\r\nOptFlag=4\r\nPlayer=C:\\missing\\player.exe\r\n");
    MakeClip(folder.File("in.avi"), 1, "160x120");
    PROCESS_INFORMATION program;
    HWND window = Open(program, "in.avi");
    ASSERT_NE(nullptr, window);
    drive::SetText(window, IDC_OUTPUT_FILE, "out.flv");
    // No encoder: said at Run, and nothing runs.
    drive::Click(window, IDC_RUN);
    EXPECT_EQ(0u, AnswerBox(program, window).find("mencoder.exe が見つかりません。"));
    EXPECT_TRUE(drive::IsEnabled(window, IDC_RUN));
    // A player that is not there: the run made its file, and nothing more happens.
    ASSERT_TRUE(MoveFileA(folder.File("encoder.bak").c_str(), folder.File("mencoder.exe").c_str()));
    bool survived = RunsAndReturnsToIdle(window, program);
    EXPECT_TRUE(survived) << "the window did not return to idle";
    EXPECT_TRUE(FileExists(folder.File("out.flv")));
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
        if (!held) SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY);
        ScopedHandle handle(held ? CreateFileA(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) : nullptr);
        PROCESS_INFORMATION program;
        HWND window = Open(program);
        ASSERT_NE(nullptr, window);
        CheckDlgButton(window, IDC_KEEP_BATCH, BST_CHECKED);
        // A read-only file is its user's choice, left as it is in silence; a held one is said.
        const bool closed = ClosesWithZero(window, program, held ? folder.Path() : "");
        EXPECT_TRUE(closed);
        handle.Close();
        Kept(before, ReadFileBytes(ini));
        EXPECT_FALSE(FileExists(SettingsTemporary(ini)));
        SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
        Survived(closed);
    }
}

TEST_F(Faults, FullDiskKeepsTheOldSettingsFile)
{
    ASSERT_NE(nullptr, std::getenv("BRUMWELD_FULL_DISK"));
    std::string reason;
    const std::string windowsFolder = FullDiskFolder(reason);
    if (windowsFolder.empty()) GTEST_SKIP() << reason;
    const std::string ini = windowsFolder + "\\Brumweld.ini", before = ReadFileBytes(ini);
    ASSERT_FALSE(before.empty());

    PROCESS_INFORMATION program = StartFrom(windowsFolder + "\\Brumweld.exe", "", "");
    ASSERT_NE(nullptr, program.hProcess);
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(2, SendDlgItemMessageA(window, IDC_VIDEO_MODE, CB_GETCURSEL, 0, 0));
    const bool closed = ClosesWithZero(window, program, windowsFolder);
    EXPECT_TRUE(closed);
    Kept(before, ReadFileBytes(ini));
    EXPECT_FALSE(FileExists(SettingsTemporary(ini)));
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
    ScopedHandle script(ScriptProcess(second));
    TerminateProcess(second.hProcess, 9);
    WaitForSingleObject(second.hProcess, 10000);
    Kept(saved, ReadFileBytes(folder.File("Brumweld.ini")));
    Survived(true);

    // The encoder runs on by itself; its console is ended before the folder goes.
    if (script.IsValid()) {
        WaitForSingleObject(script.Get(), 60000);
        TerminateProcess(script.Get(), 1);
    }
}

// What one process holds, counted from outside it by the means that give real figures under Wine.
struct Holdings {
    long handles;
    long windows;
    unsigned long long privateBytes;
};

struct HandleEntry {
    USHORT process;
    USHORT creatorBackTrace;
    UCHAR type;
    UCHAR attributes;
    USHORT value;
    PVOID object;
    ULONG access;
};

long HandleCount(DWORD processId)
{
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    const ULONG kSystemHandleInformation = 16;
    std::vector<char> buffer(1 << 20);
    ULONG needed = 0;
    // Grown while the system's table does not fit.
    while (query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) ==
           static_cast<LONG>(0xC0000004)) {
        buffer.resize(buffer.size() * 2);
    }
    ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
    // The entries follow the count, aligned as a pointer is.
    auto* entries = reinterpret_cast<HandleEntry*>(buffer.data() + sizeof(void*));
    long mine = 0;
    for (ULONG i = 0; i < count; ++i) mine += entries[i].process == static_cast<USHORT>(processId);
    return mine;
}

Holdings Measure(const PROCESS_INFORMATION& program)
{
    Holdings held = {HandleCount(program.dwProcessId), drive::CountWindows(program.dwProcessId), 0};
    ScopedHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.dwProcessId));
    MEMORY_BASIC_INFORMATION region;
    for (char* at = nullptr; process.IsValid() && VirtualQueryEx(process.Get(), at, &region, sizeof region) == sizeof region;
         at = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) held.privateBytes += region.RegionSize;
    }
    return held;
}

void Print(const char* when, const Holdings& held)
{
    std::printf("soak: %s: %ld handles, %ld windows, %llu KB committed private\n", when, held.handles, held.windows,
                held.privateBytes / 1024);
}

// One session of many runs: a handle or a window left behind by each run shows as growth.
TEST_F(Faults, ALongSessionHoldsNoMoreThanItStartedWith)
{
    CopyFileA((ExecutableFolder() + "\\recording-encoder.exe").c_str(), folder.File("mencoder.exe").c_str(), FALSE);
    // Enough runs that a leak of one a run stands out from the system's own changes.
    const int runs = std::max(20, reliability::CaseCount(30));
    PROCESS_INFORMATION program;
    HWND window = Open(program, "in.avi");
    ASSERT_NE(nullptr, window);
    drive::SetText(window, IDC_OUTPUT_FILE, "out.flv");
    // The first run loads what every later one uses.
    ASSERT_TRUE(RunsAndReturnsToIdle(window, program));
    const Holdings start = Measure(program);
    Print("start", start);
    for (int run = 0; run < runs; ++run) ASSERT_TRUE(RunsAndReturnsToIdle(window, program)) << "run " << run;
    const Holdings end = Measure(program);
    Print(("after " + std::to_string(runs) + " runs").c_str(), end);
    EXPECT_GT(start.handles, 0) << "no handle count";
    EXPECT_LT(end.handles - start.handles, runs / 2);
    EXPECT_GT(start.windows, 0);
    EXPECT_LT(end.windows - start.windows, runs / 2);
    EXPECT_LT(end.privateBytes, start.privateBytes + 4 * 1024 * 1024);
    EXPECT_TRUE(ClosesWithZero(window, program));
}

}  // namespace
