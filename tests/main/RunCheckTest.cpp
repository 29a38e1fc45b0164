#include "ui/main/RunCheck.h"

#include "common/TestFiles.h"
#include "job/EncodeSettings.h"
#include "settings/SettingsFile.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

namespace {

// Each of Run's reasons to refuse, first found first, judged without a window; the program
// folder is this executable's, where the stand-in encoder is mencoder.exe.
TEST(CheckRun, TheFirstReasonToRefuseOrNone)
{
    TempFolder temp;
    const std::wstring t = Widen(temp.Path()), in = t + L"\\in.avi", korean = t + L"\\\uCD9C\uB825";
    WriteFileBytes(temp.File("in.avi"), "clip");
    ASSERT_TRUE(CreateDirectoryW(korean.c_str(), nullptr));
    const std::wstring program = Widen(ExecutableFolder());
    const std::wstring longName(8200, L'n');
    using Change = std::function<void(EncodeSettings&)>;
    const Change none = [](EncodeSettings&) {};
    const struct {
        const char* name;
        std::wstring input, output, folder;
        const wchar_t *rate, *size;
        Change change;
        RunRefusal refusal;
    } rows[] = {
        {"plain", in, t + L"\\out.flv", program, L"30", L"320x240", none, RunAllowed},
        {"no input", L"", t + L"\\out.flv", program, L"30", L"320x240", none, NoFileNames},
        {"output only quotes", in, L"\"\"", program, L"30", L"320x240", none, NoFileNames},
        {"network folder", in, t + L"\\out.flv", L"\\\\server\\share", L"30", L"320x240", none, NetworkProgramFolder},
        {"folder with no form", in, t + L"\\out.flv", t + L"\\\uD55C\uAD6D", L"30", L"320x240", none, UnusableProgramFolder},
        {"control character", t + L"\\in\t.avi", t + L"\\out.flv", program, L"30", L"320x240", none, UnusableCharacter},
        {"stream", in, t + L"\\out.flv:s", program, L"30", L"320x240", none, UnusableCharacter},
        {"drive-relative", in, t.substr(0, 2) + L"out.flv", program, L"30", L"320x240", none, DriveRelativeName},
        {"missing input", t + L"\\missing.avi", t + L"\\out.flv", program, L"30", L"320x240", none, InputMissing},
        {"missing input outside the page", t + L"\\\uC5C6\uC74C.avi", t + L"\\out.flv", program, L"30", L"320x240", none,
         InputMissing},
        {"a folder as input", korean, t + L"\\out.flv", program, L"30", L"320x240", none, InputMissing},
        {"new name outside the page", in, korean + L"\\\uACB0\uACFC.flv", program, L"30", L"320x240", none, NoWrittenForm},
        {"same file", in, L"\"" + in + L"\"", program, L"30", L"320x240", none, SameFile},
        {"the script", in, L"~enc.bat", program, L"30", L"320x240", none, OutputIsProgramFile},
        {"rate cut by the record", in, t + L"\\out.flv", program, L"30000/1001", L"320x240",
         [](EncodeSettings& s) { lstrcpyA(s.framerate, "30000/10"); }, ValueTooLong},
        {"rate with no exact form", in, t + L"\\out.flv", program, L"30\u20AC", L"320x240",
         [](EncodeSettings& s) { lstrcpyA(s.framerate, "30?"); }, UnusableValue},
        {"rate of double-byte digits cut", in, t + L"\\out.flv", program, L"\uFF13\uFF10\uFF13\uFF10\uFF13", L"320x240",
         [](EncodeSettings& s) { lstrcpyA(s.framerate, "\x82\x52\x82\x4F\x82\x52\x82\x4F"); }, ValueTooLong},
        {"rate that is a command", in, t + L"\\out.flv", program, L"30&x", L"320x240",
         [](EncodeSettings& s) { lstrcpyA(s.framerate, "30&x"); }, UnusableValue},
        {"size cut", in, t + L"\\out.flv", program, L"30", L"1920x1080",
         [](EncodeSettings& s) { s.bSize = 1; lstrcpyA(s.size, "1920x108"); }, ValueTooLong},
        {"size cut, not resized", in, t + L"\\out.flv", program, L"30", L"1920x1080",
         [](EncodeSettings& s) { lstrcpyA(s.size, "1920x108"); }, RunAllowed},
        {"no encoder", in, t + L"\\out.flv", t, L"30", L"320x240", none, EncoderMissing},
        {"line too long", in, longName, program, L"30", L"320x240", none, LineTooLong},
    };
    const std::string path = getenv("PATH") ? getenv("PATH") : "";
    SetEnvironmentVariableA("PATH", "");
    for (const auto& row : rows) {
        EncodeSettings settings;
        SetDefaultSettings(settings);
        lstrcpyA(settings.framerate, "30");
        row.change(settings);
        RunRequest request = {row.input.c_str(), row.output.c_str(), row.folder.c_str(), settings, row.rate, row.size, "44100"};
        RunPlan plan;
        EXPECT_EQ(row.refusal, CheckRun(request, plan)) << row.name;
        if (row.refusal != RunAllowed) continue;
        const std::string script = plan.script.Data();
        EXPECT_EQ(0u, script.find("@echo off\r\n\r\nmencoder.exe \"" + temp.File("in.avi") + "\" ")) << row.name;
        EXPECT_NE(std::string::npos, script.find(" -o \"" + temp.File("out.flv") + "\"\r\n")) << row.name;
    }
    SetEnvironmentVariableA("PATH", path.c_str());
}

}  // namespace
