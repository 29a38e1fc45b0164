#include "app/ProgramFixture.h"
#include "tools/driver/Drive.h"
#include "ui/main/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

const char kUnusableName[] = "ﾌｧｲﾙ名に使えない文字が含まれています";

// File names the ANSI code page cannot hold, through the real program and the real encoder.
class Names : public Program {
protected:
    std::wstring File(const std::wstring& name) const { return Widen(folder.Path()) + L"\\" + name; }

    PROCESS_INFORMATION StartWith(const std::wstring& arguments)
    {
        PROCESS_INFORMATION process;
        EXPECT_TRUE(StartDetached(L"\"" + File(L"Brumweld.exe") + L"\" " + arguments, process, Widen(folder.Path())));
        started.push_back(process);
        return process;
    }

    // A clip of that frame size under a name of any kind.
    void Clip(const std::wstring& name, const char* size)
    {
        const std::string made = folder.File("made.avi");
        const std::string printed = MakeClip(made, 2, size);
        ASSERT_TRUE(MoveFileW(Widen(made).c_str(), name.c_str())) << GetLastError() << " " << printed;
    }

    // "width,height" of a file's video, named to ffprobe by its short name.
    static std::string FrameSize(const std::wstring& name)
    {
        wchar_t shortName[MAX_PATH] = L"";
        if (!GetShortPathNameW(name.c_str(), shortName, MAX_PATH)) return "(no file)";
        return Host("ffprobe.exe -v error -select_streams v -show_entries stream=width,height -of csv=p=0 \"" +
                    Narrow(shortName) + "\"");
    }

    // Sent as messages: the window-text functions do not reach another process's controls.
    static void SetField(HWND window, int id, const std::wstring& text)
    {
        SendDlgItemMessageW(window, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

    static std::wstring Field(HWND window, int id)
    {
        wchar_t text[1024] = L"";
        SendDlgItemMessageW(window, id, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
        return text;
    }

    static void RunToIdle(const PROCESS_INFORMATION& program, HWND window)
    {
        drive::Click(window, IDC_RUN);
        ASSERT_TRUE(drive::WaitEnabled(window, IDC_RUN, false, 10000))
            << "the window did not go busy: " << AnswerBox(program, window);
        ASSERT_TRUE(drive::WaitEnabled(window, IDC_RUN, true, 120000)) << "the run did not end";
    }
};

TEST_F(Names, AnAccentedNameOnTheCommandLineConvertsThatFileNotItsLookAlike)
{
    // Named outside the assertions, which also spell their arguments in the code page.
    const std::wstring cafe = File(L"café.avi");
    Clip(cafe, "320x240");
    Clip(File(L"cafe.avi"), "160x120");
    PROCESS_INFORMATION program = StartWith(L"\"" + cafe + L"\"");
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(cafe, Field(window, IDC_INPUT_FILE));
    SetField(window, IDC_OUTPUT_FILE, File(L"out.flv"));
    RunToIdle(program, window);
    EXPECT_EQ("320,240\n", FrameSize(File(L"out.flv")));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(program, 30000));
}

TEST_F(Names, TypedKoreanAndEmojiNamesConvertIntoAFolderNamedSo)
{
    const std::wstring outputs = File(L"출력😀");
    ASSERT_TRUE(CreateDirectoryW(outputs.c_str(), nullptr));
    PROCESS_INFORMATION program = StartWith(L"");
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);
    // The output's own name must be one the code page holds: it has no short name yet.
    const struct { const wchar_t* input; const wchar_t* output; } runs[] = {
        {L"한국어.avi", L"\\korean.flv"},
        {L"emoji😀.avi", L"\\emoji.flv"},
    };
    for (const auto& run : runs) {
        Clip(File(run.input), "320x240");
        SetField(window, IDC_INPUT_FILE, File(run.input));
        SetField(window, IDC_OUTPUT_FILE, outputs + run.output);
        RunToIdle(program, window);
        EXPECT_EQ("320,240\n", FrameSize(outputs + run.output)) << Narrow(run.output);
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(program, 30000));
}

TEST_F(Names, NamesWithoutAWrittenFormWarnAndRunNothing)
{
    Clip(File(L"in.avi"), "160x120");
    PROCESS_INFORMATION program = StartWith(L"");
    HWND window = drive::WaitForMainWindow(program.dwProcessId, 30000);
    ASSERT_NE(nullptr, window);

    // An output file name typed key by key: it has no short name before it exists.
    SetField(window, IDC_INPUT_FILE, File(L"in.avi"));
    SetField(window, IDC_OUTPUT_FILE, File(L""));
    HWND output = GetDlgItem(window, IDC_OUTPUT_FILE);
    LRESULT end = SendMessageW(output, WM_GETTEXTLENGTH, 0, 0);
    SendMessageW(output, EM_SETSEL, end, end);
    for (wchar_t c : std::wstring(L"결과.flv")) PostMessageW(output, WM_CHAR, c, 1);
    const std::wstring typed = File(L"결과.flv");
    for (DWORD start = GetTickCount(); Field(window, IDC_OUTPUT_FILE) != typed; Sleep(50)) {
        if (GetTickCount() - start > 10000) break;
    }
    ASSERT_EQ(typed, Field(window, IDC_OUTPUT_FILE)) << "typed characters were lost";
    drive::Click(window, IDC_RUN);
    EXPECT_EQ(kUnusableName, AnswerBox(program, window));

    // An input that does not exist has no short name either.
    SetField(window, IDC_INPUT_FILE, File(L"없음.avi"));
    SetField(window, IDC_OUTPUT_FILE, File(L"out.flv"));
    drive::Click(window, IDC_RUN);
    EXPECT_EQ(kUnusableName, AnswerBox(program, window));

    EXPECT_TRUE(drive::IsEnabled(window, IDC_RUN));
    EXPECT_FALSE(FileExists(folder.File("~enc.bat")));
    EXPECT_FALSE(FileExists(folder.File("out.flv")));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCode(program, 30000));
}

}  // namespace
