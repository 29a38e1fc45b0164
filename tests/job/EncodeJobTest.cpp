#include "job/EncodeJob.h"

#include "common/MessagePump.h"
#include "common/Reliability.h"
#include "support/ScopedHandle.h"
#include "common/TestFiles.h"
#include "job/EncodeSettings.h"
#include "job/JobTestWindow.h"
#include "job/WorkedExamples.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

// Runs in the program folder, where the recording encoder is mencoder.exe and the
// recording player is player.exe.
class EncodeJob : public testing::Test, protected FolderFiles {
protected:
    EncodeJob() : FolderFiles(ExecutableFolder())
    {
        for (const char* name : {"~enc.bat", "~pass.log", "encoder-args.txt", "player-args.txt"}) Remove(name);
        SetDefaultSettings(settings);
        window.SetFiles("C:\\Video\\clip.avi", "C:\\Video\\clip.flv");
    }

    // The argument vectors the encoder received, one per call.
    std::vector<std::vector<std::string>> EncoderCalls() const
    {
        std::vector<std::vector<std::string>> calls(1);
        std::istringstream lines(ReadFileBytes(File("encoder-args.txt")));
        for (std::string line; std::getline(lines, line);) {
            line.erase(line.size() - 1);
            if (line == "--") {
                calls.emplace_back();
            } else {
                calls.back().push_back(line);
            }
        }
        calls.pop_back();
        return calls;
    }

    // What the player got, asked once the run's worker has ended; the next run meets no player.
    std::string PlayerGot()
    {
        EXPECT_TRUE(PumpUntil([&] { return window.runs.WorkerDone(); }, 20000)) << "the worker did not end";
        return PlayerArguments(GetCurrentProcessId(), File("player-args.txt"));
    }

    void Run()
    {
        ASSERT_EQ(JobStarted, window.Start(settings));
        ASSERT_TRUE(window.WaitIdle()) << "the busy state did not end";
    }

    EncodeSettings settings;
    JobTestWindow window;
};

TEST_F(EncodeJob, WorkedScriptsByteForByte)
{
    for (const WorkedExample& example : kWorkedExamples) {
        example.apply(settings);
        window.SetFiles(example.input, example.output);
        window.sampleRate = example.sampleRate;
        TextBuffer built;
        ASSERT_TRUE(MakeScript(settings, window.Texts(), built));
        ASSERT_TRUE(WriteBatchScript(built));
        const std::string script = ReadFileBytes(File("~enc.bat"));
        EXPECT_EQ(example.size, script.size()) << example.name;
        EXPECT_EQ(example.script, script) << example.name;
    }
}

TEST_F(EncodeJob, RunEndsTheBusyStateOnTheWorker)
{
    Run();
    const std::vector<bool> expected = {false, true};
    EXPECT_EQ(expected, window.Calls());
    EXPECT_EQ(GetCurrentThreadId(), window.calls[0].thread);
    EXPECT_NE(GetCurrentThreadId(), window.calls[1].thread);
    ASSERT_EQ(1u, EncoderCalls().size());
    EXPECT_FALSE(FileExists(File("~enc.bat")));
}

// What cmd hands the encoder must be the names themselves, whatever they hold.
TEST_F(EncodeJob, EncoderReceivesTheNamesUnchanged)
{
    const char* names[] = {
        "C:\\My Videos\\trip 01.avi",
        "C:\\Video\\100% clip.avi",
        "C:\\Video\\%1 %2 %PATH% %%.avi",
        "C:\\a & b ^ c ! d (e) ; f.avi",
        "C:\\\x83\x5C\x95\x5C\\\x83\x5C\x83\x74\x83\x67.avi",
        "C:\\Video\\ends with caret^",
    };
    for (const char* name : names) {
        Remove("encoder-args.txt");
        window.calls.clear();
        window.SetFiles(name, std::string(name) + ".flv");
        Run();
        auto calls = EncoderCalls();
        ASSERT_EQ(1u, calls.size()) << name;
        ASSERT_GE(calls[0].size(), 3u);
        EXPECT_EQ(name, calls[0][0]);
        EXPECT_EQ("-o", calls[0][calls[0].size() - 2]);
        EXPECT_EQ(std::string(name) + ".flv", calls[0].back());
    }
}

TEST_F(EncodeJob, TwoPassRunsBothPassesAndRemovesThePassLog)
{
    settings.mode = TwoPass;
    Run();
    auto calls = EncoderCalls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ("NUL", calls[0].back());
    EXPECT_EQ("C:\\Video\\clip.flv", calls[1].back());
    EXPECT_FALSE(FileExists(File("~pass.log")));
    EXPECT_FALSE(FileExists(File("~enc.bat")));
}

TEST_F(EncodeJob, KeepBatchKeepsTheScriptButNotThePassLog)
{
    settings.mode = TwoPass;
    settings.OptFlag = KeepBatch;
    Run();
    ASSERT_TRUE(FileExists(File("~enc.bat")));
    const std::string kept = ReadFileBytes(File("~enc.bat"));
    EXPECT_EQ(0u, kept.find("@echo off\r\n\r\nmencoder.exe \"C:\\Video\\clip.avi\" -passlogfile"));
    EXPECT_FALSE(FileExists(File("~pass.log")));

    // The next run replaces the kept script.
    settings.mode = ConstantBitrate;
    window.calls.clear();
    Run();
    EXPECT_EQ(std::string::npos, ReadFileBytes(File("~enc.bat")).find("-passlogfile"));
}

// The player gets the output as one argument, and only with the option, a player and an output
// the run made. The recording encoder writes its output only when its input exists.
TEST_F(EncodeJob, PlayerGetsTheOutputAsOneArgumentOnlyWhenTheRunMadeIt)
{
    WriteFileBytes(File("clip.avi"), "clip");
    WriteFileBytes(File("backdated.avi"), "clip");
    WriteFileBytes(File("fail.avi"), "clip");
    const std::string player = File("player.exe"), notPlayed = "(player not started)";
    // A player that cannot be started (none, missing, a folder) is said at the end of the run. An
    // encoder that fails (exit code 1) fails the run, with or without "play after", and plays nothing
    // though it made a file.
    const struct { std::string input, output; unsigned short options; std::string player, arguments; RunEnd end; } cases[] = {
        {File("fail.avi"), File("trip 08.flv"), PlayAfter, player, notPlayed, ConversionFailed},
        {File("fail.avi"), File("trip 09.flv"), 0, player, notPlayed, ConversionFailed},
        {File("clip.avi"), File("trip 01.flv"), PlayAfter, player, File("trip 01.flv") + "\r\n", RunEnded},
        {File("clip.avi"), "", PlayAfter, player, notPlayed, NothingToPlay},
        {File("missing.avi"), File("trip 02.flv"), PlayAfter, player, notPlayed, NothingToPlay},
        {File("clip.avi"), File("trip 03.flv"), 0, player, notPlayed, RunEnded},
        {File("clip.avi"), File("trip 04.flv"), PlayAfter, "", notPlayed, PlayerNotStarted},
        {File("clip.avi"), File("trip 06.flv"), PlayAfter, File("missing player.exe"), notPlayed, PlayerNotStarted},
        {File("clip.avi"), File("trip 07.flv"), PlayAfter, ExecutableFolder(), notPlayed, PlayerNotStarted},
        // Made on a volume whose clock runs an hour behind this machine's.
        {File("backdated.avi"), File("trip 05.flv"), PlayAfter, player, File("trip 05.flv") + "\r\n", RunEnded},
    };
    for (const auto& c : cases) {
        DeleteFileA(File("player-args.txt").c_str());
        settings.OptFlag = c.options;
        settings.Player.Assign(c.player.c_str());
        window.calls.clear();
        window.SetFiles(c.input, c.output);
        Run();
        DWORD exitCode = 99;
        EXPECT_EQ(c.end, window.runs.TakeEnd(&exitCode)) << c.output;
        EXPECT_EQ(c.end == ConversionFailed ? 1u : 0u, exitCode) << c.output;
        EXPECT_EQ(c.arguments, PlayerGot()) << c.output;
    }
    for (const char* name : {"clip.avi", "backdated.avi", "fail.avi", "trip 01.flv", "trip 02.flv", "trip 03.flv",
                             "trip 04.flv", "trip 05.flv", "trip 06.flv", "trip 07.flv", "trip 08.flv", "trip 09.flv"}) {
        Remove(name);
    }
}

TEST_F(EncodeJob, PlayerTakesTheRunsOutputAndThePlayerAtTheEnd)
{
    WriteFileBytes(File("later.avi"), "clip");
    settings.OptFlag = PlayAfter;
    settings.Player.Assign("C:\\missing\\player.exe");
    window.SetFiles(File("later.avi"), File("old.flv"));
    ASSERT_EQ(JobStarted, window.Start(settings));
    // Changed during the run: the output is the one fixed at Run, the player the one set now.
    window.SetOutput(File("new name.flv"));
    {
        JobSettingsLock lock;
        settings.Player.Assign(File("player.exe").c_str());
    }
    ASSERT_TRUE(window.WaitIdle());
    EXPECT_EQ(File("old.flv") + "\r\n", PlayerGot());
    for (const char* name : {"later.avi", "old.flv"}) Remove(name);
}

// Random names of any cp932 characters, with the ones cmd treats specially mixed in.
std::string RandomName(unsigned& seed)
{
    auto next = [&seed](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    static const char kSpecial[] = "%&^!();  ";
    std::string name = "C:\\";
    for (int length = 1 + next(24); length > 0; --length) {
        switch (next(4)) {
        case 0: name += kSpecial[next(sizeof kSpecial - 1)]; break;
        case 1: {
            char c = static_cast<char>(0x20 + next(0x5F));
            if (c != '"') name += c;
            break;
        }
        case 2: name += static_cast<char>(0xA1 + next(0x3F)); break;
        default: {
            // A double-byte character that maps to one Unicode character and back.
            for (;;) {
                unsigned lead = next(2) ? 0x81 + next(0x1F) : 0xE0 + next(0x0D);
                unsigned trail = 0x40 + next(0xBD);
                if (trail == 0x7F) continue;
                char bytes[3] = {static_cast<char>(lead), static_cast<char>(trail), 0};
                wchar_t wide[2];
                char back[4] = {};
                if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, 2, wide, 2) != 1) continue;
                if (WideCharToMultiByte(932, 0, wide, 1, back, 3, nullptr, nullptr) != 2 || back[0] != bytes[0] ||
                    back[1] != bytes[1]) {
                    continue;
                }
                name += bytes;
                break;
            }
        }
        }
    }
    // A file name never ends in a separator.
    if (name.back() == '\\') name += 'x';
    return name + ".avi";
}

TEST_F(EncodeJob, RandomNamesReachTheEncoderUnchanged)
{
    const int count = reliability::CaseCount(20);
    unsigned seed = 20261207;
    int tried = 0, mismatched = 0;
    for (int i = 0; i < count; ++i) {
        const std::string input = RandomName(seed), output = RandomName(seed) + ".flv";
        Remove("encoder-args.txt");
        window.calls.clear();
        window.SetFiles(input, output);
        Run();
        auto calls = EncoderCalls();
        ++tried;
        bool same = calls.size() == 1 && calls[0].size() > 2 && calls[0][0] == input && calls[0].back() == output;
        if (!same) ++mismatched;
        EXPECT_TRUE(same) << "input " << input << "\noutput " << output;
    }
    std::printf("random names: %d tried, %d reached the encoder changed\n", tried, mismatched);
    reliability::BadInputTried(tried);
    reliability::FaultSurvived(tried - mismatched);
}

// A script that cannot be written is never run, and neither is an older one left in its place;
// the window stays idle, no player starts and no file is touched: the pass log may be another job's.
// A script held open without write sharing is how a job of this folder holds it, whatever name
// or machine started the job; a folder in the script's place is a refusal with the system's reason.
TEST_F(EncodeJob, UnwritableScriptRunsNothing)
{
    settings.OptFlag = PlayAfter;
    settings.Player.Assign(File("player.exe").c_str());
    WriteFileBytes(File("~pass.log"), "another job");
    WriteFileBytes(File("~enc.bat"), "@echo off\r\nmencoder.exe stale\r\n");
    {
        ScopedHandle held(CreateFileA(File("~enc.bat").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.IsValid());
        EXPECT_EQ(EarlierJobRunning, window.Start(settings));
    }
    EXPECT_EQ("@echo off\r\nmencoder.exe stale\r\n", ReadFileBytes(File("~enc.bat")));
    Remove("~enc.bat");
    ASSERT_TRUE(CreateDirectoryA(File("~enc.bat").c_str(), nullptr));
    EXPECT_EQ(ScriptNotRun, window.Start(settings));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), window.error);
    RemoveDirectoryA(File("~enc.bat").c_str());
    EXPECT_TRUE(window.Calls().empty()) << "the window went busy";
    EXPECT_EQ("(player not started)", PlayerGot());
    EXPECT_FALSE(FileExists(File("encoder-args.txt")));
    EXPECT_EQ("another job", ReadFileBytes(File("~pass.log")));
}

// Where Windows refuses to start cmd (a policy, AppLocker, an antivirus) or to hand it the
// script's hold, nothing runs, the suspended cmd is ended, the script goes and the system's
// reason comes back.
// The starter refuses as a policy would, or starts cmd and gives back a handle that may not
// duplicate into it.
bool refuseStart;
HANDLE startedCmd;
BOOL WINAPI StartAsWindowsMay(LPCWSTR name, LPWSTR line, LPSECURITY_ATTRIBUTES process, LPSECURITY_ATTRIBUTES thread,
                              BOOL inherit, DWORD flags, LPVOID environment, LPCWSTR folder, LPSTARTUPINFOW startup,
                              LPPROCESS_INFORMATION started)
{
    if (refuseStart) SetLastError(ERROR_ACCESS_DISABLED_BY_POLICY);
    if (refuseStart || !CreateProcessW(name, line, process, thread, inherit, flags, environment, folder, startup, started)) {
        return FALSE;
    }
    startedCmd = started->hProcess;
    return DuplicateHandle(GetCurrentProcess(), startedCmd, GetCurrentProcess(), &started->hProcess,
                           SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, 0);
}

TEST(EncodeJobRefused, WindowsRefusingCmdOrItsHoldRunsNothing)
{
    const FolderFiles files(ExecutableFolder());
    files.Remove("encoder-args.txt");
    const struct { bool refuse; DWORD error; } rows[] = {{true, ERROR_ACCESS_DISABLED_BY_POLICY}, {false, ERROR_ACCESS_DENIED}};
    for (const auto& row : rows) {
        EncodeSettings settings;
        SetDefaultSettings(settings);
        JobTestWindow window(StartAsWindowsMay);
        refuseStart = row.refuse;
        window.SetFiles(files.File("in.avi"), files.File("out.flv"));
        startedCmd = nullptr;
        EXPECT_EQ(CmdNotStarted, window.Start(settings));
        EXPECT_EQ(row.error, window.error);
        EXPECT_TRUE(window.Calls().empty()) << "the window went busy";
        EXPECT_FALSE(FileExists(files.File("~enc.bat")));
        if (startedCmd) {
            ScopedHandle cmd(startedCmd);
            EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(cmd.Get(), 10000)) << "the suspended cmd was left";
        }
    }
    EXPECT_FALSE(FileExists(files.File("encoder-args.txt")));
}

// cmd by its full name runs the script in the program folder, whatever this process's current
// folder is, and that folder does not move. Its line holds what Windows needs, though Wine's cmd
// shows none of it: /d against the registry's AutoRun, /v:off against its DelayedExpansion, chcp
// against the console's code page (the script's names are in the OEM one), and the script named
// from the folder, where a folder name holding %NAME% would be expanded. Its environment lacks
// NoDefaultCurrentDirectoryInExePath, which would make Windows' cmd pass over the encoder beside
// the script; every other variable reaches the encoder.
TEST_F(EncodeJob, CmdRunsTheScriptAsDocumentedInTheProgramFolder)
{
    TempFolder elsewhere;
    wchar_t previous[MAX_PATH], current[MAX_PATH], system[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(Widen(elsewhere.Path()).c_str()));
    SetEnvironmentVariableA("NoDefaultCurrentDirectoryInExePath", "1");
    SetEnvironmentVariableA("BRUMWELD_PASSED", "passed");
    Run();
    SetEnvironmentVariableA("NoDefaultCurrentDirectoryInExePath", nullptr);
    SetEnvironmentVariableA("BRUMWELD_PASSED", nullptr);
    GetCurrentDirectoryW(MAX_PATH, current);
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(Widen(elsewhere.Path()), current);
    EXPECT_EQ(1u, EncoderCalls().size());
    EXPECT_FALSE(FileExists(elsewhere.File("encoder-args.txt")));
    GetSystemDirectoryW(system, MAX_PATH);
    std::printf("cmd reads the script in code page %u\n", GetOEMCP());
    EXPECT_EQ("\"" + Narrow(system) + "\\cmd.exe\" /d /v:off /s /c \"\"" + Narrow(system) + "\\chcp.com\" " +
                  std::to_string(GetOEMCP()) + " >nul & \".\\~enc.bat\"\"",
              ReadFileBytes(File("encoder-parent.txt")));
    const std::string environment = ReadFileBytes(File("encoder-environment.txt"));
    EXPECT_NE(std::string::npos, environment.find("\nBRUMWELD_PASSED=passed\r\n"));
    EXPECT_EQ(std::string::npos, environment.find("NoDefaultCurrentDirectoryInExePath"));
}

// Run in a process of its own by the test below: once exit processing has begun, a
// worker that reaches its end must leave the released settings and the files alone.
TEST_F(EncodeJob, DISABLED_WorkerEndingAfterExitBegan)
{
    settings.OptFlag = PlayAfter;
    settings.Player.Assign(File("player.exe").c_str());
    ASSERT_EQ(JobStarted, window.Start(settings));
    window.runs.Close();
    settings.Player.Release();
    settings.InputDir.Release();
    for (DWORD start = GetTickCount(); GetTickCount() - start < 3000;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        Pump();
    }
    EXPECT_EQ(1u, EncoderCalls().size()) << "the script ran to its end";
    const std::vector<bool> busy = {false};
    EXPECT_EQ(busy, window.Calls());
    EXPECT_TRUE(FileExists(File("~enc.bat")));
    EXPECT_FALSE(FileExists(File("player-args.txt")));
}

// Started as from the desktop by the test below, so the script gets a console of its own.
TEST_F(EncodeJob, DISABLED_WaitForKeyRun)
{
    settings.OptFlag = WaitForKey;
    ASSERT_EQ(JobStarted, window.Start(settings));
    ASSERT_TRUE(window.WaitIdle(60000));
    WriteFileBytes(File("idle.txt"), "idle");
}

TEST_F(EncodeJob, WaitForKeyKeepsTheRunBusyUntilAKey)
{
    Remove("idle.txt");
    const std::string module = ExecutablePath();
    PROCESS_INFORMATION started;
    ASSERT_TRUE(StartDetached(Widen(std::string("\"") + module +
                                    "\" --gtest_also_run_disabled_tests --gtest_filter=EncodeJob.DISABLED_WaitForKeyRun"),
                              started));
    ScopedHandle child(started.hProcess);

    DWORD script = 0;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 20000 && !script; Sleep(100)) {
        if (FileExists(File("encoder-args.txt"))) script = FindChildProcess(started.dwProcessId, "cmd.exe");
    }
    ASSERT_NE(0u, script) << "the script did not run";
    // The rule the script echoes last: cmd has reached its pause, and only a key ends it now.
    ASSERT_EQ(0u, RunToEnd("\"" + File("presskey.exe") + "\" " + std::to_string(script) + " --wait-for ================", 30000))
        << "the script's console never showed its final rule";
    EXPECT_FALSE(FileExists(File("idle.txt"))) << "the run ended before a key was pressed";
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(child.Get(), 0));

    EXPECT_EQ(0u, RunToEnd("\"" + File("presskey.exe") + "\" " + std::to_string(script), 10000))
        << "the key could not be written to the script's console";

    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(child.Get(), 30000));
    EXPECT_TRUE(FileExists(File("idle.txt")));
    Remove("idle.txt");
}

TEST(EncodeJobExit, WorkerEndingAfterExitBeganTouchesNothing)
{
    DeleteFileA((ExecutableFolder() + "\\~enc.bat").c_str());
    const std::string module = ExecutablePath();
    EXPECT_EQ(0u, RunToEnd(std::string("\"") + module +
                               "\" --gtest_also_run_disabled_tests --gtest_filter=EncodeJob.DISABLED_WorkerEndingAfterExitBegan",
                           60000));
    // The kept script shows that the run in the child really took place.
    EXPECT_TRUE(FileExists(ExecutableFolder() + "\\~enc.bat"));
    DeleteFileA((ExecutableFolder() + "\\~enc.bat").c_str());
}

}  // namespace
