#include "common/TestFiles.h"
#include "tools/driver/Drive.h"
#include "ui/main/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

// The real program as a user meets it, each test in a fresh program folder with the
// encoder bridge beside it, driven from here through window messages.
class Program : public testing::Test {
protected:
    Program()
    {
        for (const char* name : {"Brumweld.exe", "mencoder.exe", "host-bridge.sh"}) {
            CopyFileA((ExecutableFolder() + "\\program\\" + name).c_str(), folder.File(name).c_str(), FALSE);
        }
    }
    ~Program()
    {
        for (PROCESS_INFORMATION& p : started) {
            if (WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(p.hProcess, 1);
            CloseHandle(p.hProcess);
        }
    }

    PROCESS_INFORMATION Start(const std::string& arguments)
    {
        std::string line = "\"" + folder.File("Brumweld.exe") + "\"" + (arguments.empty() ? "" : " " + arguments);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        // As from the desktop: no console and no handles of ours.
        EXPECT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                                   folder.Path().c_str(), &startup, &process));
        CloseHandle(process.hThread);
        started.push_back(process);
        return process;
    }

    static DWORD ExitCode(const PROCESS_INFORMATION& process, DWORD milliseconds)
    {
        if (WaitForSingleObject(process.hProcess, milliseconds) != WAIT_OBJECT_0) return STILL_ACTIVE;
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process.hProcess, &code);
        return code;
    }

    // Runs one of the host programs beside this test and returns what it printed.
    static std::string Host(const std::string& commandLine)
    {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        const std::string outputPath = ExecutableFolder() + "\\host-output.txt";
        HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
        startup.hStdError = output;
        PROCESS_INFORMATION process = {};
        std::string line = ExecutableFolder() + "\\" + commandLine;
        BOOL ok = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
        CloseHandle(output);
        if (!ok) return "(not started)";
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return ReadFileBytes(outputPath);
    }

    static std::string MakeClip(const std::string& path, int seconds, const char* size)
    {
        return Host("ffmpeg.exe -nostdin -y -loglevel error -f lavfi -i testsrc=size=" + std::string(size) +
                    ":rate=30 -f lavfi -i sine=sample_rate=44100 -t " + std::to_string(seconds) +
                    " -ac 2 -c:v mpeg4 -c:a libmp3lame \"" + path + "\"");
    }

    static std::string Streams(const std::string& path)
    {
        return Host("ffprobe.exe -v error -show_entries stream=codec_name -of csv=p=0 \"" + path + "\"");
    }

    TempFolder folder;
    std::vector<PROCESS_INFORMATION> started;
};

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

TEST_F(Program, EscDuringARunExitsAndTheEncoderFinishes)
{
    // Two passes over a longer clip: the run is still going when Esc comes.
    const std::string clip = folder.File("long.avi"), flv = folder.File("long.flv");
    MakeClip(clip, 120, "640x480");
    WriteFileBytes(folder.File("Brumweld.ini"), "[Video]\r\nmode=2\r\n");
    PROCESS_INFORMATION program = Start("\"" + clip + "\"");
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    drive::SetText(window, IDC_OUTPUT_FILE, flv);
    drive::Click(window, IDC_RUN);
    ASSERT_TRUE(drive::WaitEnabled(window, IDC_RUN, false, 10000));
    ASSERT_TRUE(FileExists(folder.File("~enc.bat")));

    // Esc reaches the focused field; the dialog manager makes it the cancel command.
    PostMessageA(GetDlgItem(window, IDC_INPUT_FILE), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_EQ(0u, ExitCode(program, 30000));
    EXPECT_TRUE(FileExists(folder.File("Brumweld.ini")));
    EXPECT_TRUE(FileExists(folder.File("~enc.bat"))) << "the script stays when the program ends first";

    std::string streams;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 120000 && streams != "flv1\nmp3\n"; Sleep(500)) {
        streams = Streams(flv);
    }
    EXPECT_EQ("flv1\nmp3\n", streams) << "the encoder did not finish its file";
}

}  // namespace
