#include "job/EncoderCommand.h"

#include "job/EncodeJob.h"

#include "common/TestFiles.h"
#include "job/FakeScriptTexts.h"
#include "job/WorkedExamples.h"
#include "support/TextBuffer.h"

#include <gtest/gtest.h>

namespace {

class EncoderCommand : public testing::Test {
protected:
    EncoderCommand() { SetDefaultSettings(settings); }

    // The line as the script holds it: the first of two passes has no line end of its own.
    std::string Line(EncodePass pass)
    {
        TextBuffer line;
        MakeEncoderCommand(line, pass, settings, window.Texts());
        return std::string(line.Data()) + (pass == FirstPass && settings.mode == TwoPass ? "" : "\r\n");
    }

    // The line of the default settings with one piece swapped for another.
    static std::string Swap(std::string line, const std::string& from, const std::string& to)
    {
        size_t at = line.find(from);
        EXPECT_NE(std::string::npos, at) << from;
        if (at != std::string::npos) line.replace(at, from.size(), to);
        return line;
    }

    TempFolder folder;
    EncodeSettings settings;
    FakeScriptTexts window;
};

// The command line of the default settings, after the script's two header lines.
const std::string kDefaultLine = std::string(kWorkedExamples[0].script).substr(13);

// The lines are the pieces of the worked scripts: a single line after the two header
// lines, or the two passes around the empty line between them.
TEST_F(EncoderCommand, WorkedExamples)
{
    const std::string header = "@echo off\r\n\r\n";
    for (const WorkedExample& example : kWorkedExamples) {
        example.apply(settings);
        window.input = example.input;
        window.output = example.output;
        window.sampleRate = example.sampleRate;
        const std::string script = example.script;
        ASSERT_EQ(example.size, script.size()) << example.name;
        if (settings.mode == TwoPass) {
            size_t gap = script.find("\r\n\r\n", header.size());
            EXPECT_EQ(script.substr(header.size(), gap - header.size()), Line(FirstPass)) << example.name;
            EXPECT_EQ(script.substr(gap + 4), Line(SecondPass)) << example.name;
        } else {
            size_t end = script.find("\r\n", header.size()) + 2;
            EXPECT_EQ(script.substr(header.size(), end - header.size()), Line(SinglePass)) << example.name;
        }
    }
}

// Every branch as one change to the default settings and what it does to the line.
TEST_F(EncoderCommand, Branches)
{
    struct Case {
        const char* what;
        void (*change)(EncodeSettings&, FakeScriptTexts&);
        const char* from;
        const char* to;
    };
    const Case cases[] = {
        {"resize x", [](EncodeSettings& s, FakeScriptTexts&) { s.bSize = 1; }, " -vf harddup", " -vf scale=320:240:0:0::,harddup"},
        {"resize X", [](EncodeSettings& s, FakeScriptTexts&) { s.bSize = 1; lstrcpyA(s.size, "320X240"); },
         " -vf harddup", " -vf scale=320X240:0:0::,harddup"},
        {"several x", [](EncodeSettings& s, FakeScriptTexts&) { s.bSize = 1; lstrcpyA(s.size, "640x480x2"); },
         " -vf harddup", " -vf scale=640:480:2:0:0::,harddup"},
        {"no resize, any size", [](EncodeSettings& s, FakeScriptTexts&) { lstrcpyA(s.size, "999x999"); }, " -vf harddup", " -vf harddup"},
        {"bSize any non-zero", [](EncodeSettings& s, FakeScriptTexts&) { s.bSize = -3; lstrcpyA(s.size, "abc"); },
         " -vf harddup", " -vf scale=abc:0:0::,harddup"},
        {"23.976", [](EncodeSettings& s, FakeScriptTexts&) { lstrcpyA(s.framerate, "23.976"); }, "-ofps 30 ", "-ofps 24000/1001 "},
        {"29.97", [](EncodeSettings& s, FakeScriptTexts&) { lstrcpyA(s.framerate, "29.97"); }, "-ofps 30 ", "-ofps 30000/1001 "},
        {"23.976 and a space", [](EncodeSettings& s, FakeScriptTexts&) { lstrcpyA(s.framerate, "23.976 "); }, "-ofps 30 ", "-ofps 23.976  "},
        {"25", [](EncodeSettings& s, FakeScriptTexts&) { lstrcpyA(s.framerate, "25"); }, "-ofps 30 ", "-ofps 25 "},
        {"12.5", [](EncodeSettings& s, FakeScriptTexts&) { lstrcpyA(s.framerate, "12.5"); }, "-ofps 30 ", "-ofps 12.5 "},
        {"empty frame rate", [](EncodeSettings& s, FakeScriptTexts&) { s.framerate[0] = '\0'; }, "-ofps 30 -of", "-ofps  -of"},
        {"quality mode", [](EncodeSettings& s, FakeScriptTexts&) { s.mode = QualityBased; s.quality = 31; },
         "vbitrate=300:vqmin=2:vqmax=31", "vqscale=31"},
        {"mode -1", [](EncodeSettings& s, FakeScriptTexts&) { s.mode = -1; s.quality = 9; }, "vbitrate=300", "vbitrate=300"},
        {"mode 3", [](EncodeSettings& s, FakeScriptTexts&) { s.mode = 3; s.videoBitrate = -5; }, "vbitrate=300", "vbitrate=-5"},
        {"channel 1", [](EncodeSettings& s, FakeScriptTexts&) { s.channel = Stereo; }, "lowpassfreq=-1 ", "lowpassfreq=-1:mode=0 "},
        {"channel 2", [](EncodeSettings& s, FakeScriptTexts&) { s.channel = JointStereo; }, "lowpassfreq=-1 ", "lowpassfreq=-1:mode=1 "},
        {"channel 3", [](EncodeSettings& s, FakeScriptTexts&) { s.channel = Mono; }, "lowpassfreq=-1 ", "lowpassfreq=-1:mode=3 "},
        {"channel 7", [](EncodeSettings& s, FakeScriptTexts&) { s.channel = 7; }, "lowpassfreq=-1 ", "lowpassfreq=-1:mode=6 "},
        {"no sample rate", [](EncodeSettings&, FakeScriptTexts& w) { w.sampleRate = ""; }, "resample=44100:0:0", "resample=:0:0"},
        {"audio numbers", [](EncodeSettings& s, FakeScriptTexts&) { s.audioBitrate = 0; s.compqua = 0; }, "br=64:aq=2", "br=0:aq=0"},
        {"percent", [](EncodeSettings&, FakeScriptTexts& w) { w.input = "C:\\Video\\100% clip.avi"; },
         "\"C:\\Video\\clip.avi\"", "\"C:\\Video\\100%% clip.avi\""},
        {"percent one", [](EncodeSettings&, FakeScriptTexts& w) { w.output = "C:\\%1\\%PATH%.flv"; },
         "\"C:\\Video\\clip.flv\"", "\"C:\\%%1\\%%PATH%%.flv\""},
        {"quote", [](EncodeSettings&, FakeScriptTexts& w) { w.output = "C:\\a.flv\" & del x & \"b"; },
         "\"C:\\Video\\clip.flv\"", "\"C:\\a.flv & del x & b\""},
        {"cp932 and specials", [](EncodeSettings&, FakeScriptTexts& w) { w.input = "C:\\\x83\x5C\\\x95\x5C & ^!();.avi"; },
         "\"C:\\Video\\clip.avi\"", "\"C:\\\x83\x5C\\\x95\x5C & ^!();.avi\""},
    };
    for (const Case& c : cases) {
        SetDefaultSettings(settings);
        window = FakeScriptTexts();
        window.input = "C:\\Video\\clip.avi";
        window.output = "C:\\Video\\clip.flv";
        c.change(settings, window);
        EXPECT_EQ(Swap(kDefaultLine, c.from, c.to), Line(SinglePass)) << c.what;
    }
}

TEST_F(EncoderCommand, ModeAndPassShapeTheLine)
{
    // The pass decides the pass log; the mode decides whether there are passes in the codec options.
    struct Row {
        int mode;
        EncodePass pass;
        bool passLog;
        const char* codecEnd;
        const char* lineEnd;
    } const rows[] = {
        {ConstantBitrate, SinglePass, false, "vbitrate=300:vqmin=2:vqmax=31:mbd=1:subq=8 -af ", " -o \"out.flv\"\r\n"},
        {TwoPass, FirstPass, true, "vbitrate=300:vqmin=2:vqmax=31:mbd=1:subq=8:vpass=1:turbo -nosound -o NUL", ""},
        {TwoPass, SecondPass, true, "vbitrate=300:vqmin=2:vqmax=31:mbd=1:subq=8:vpass=2 -af ", " -o \"out.flv\"\r\n"},
        {TwoPass, SinglePass, false, "vbitrate=300:vqmin=2:vqmax=31:mbd=1:subq=8:vpass=2 -af ", " -o \"out.flv\"\r\n"},
        {ConstantBitrate, FirstPass, true, "vbitrate=300:vqmin=2:vqmax=31:mbd=1:subq=8 -af ", " -o \"out.flv\"\r\n"},
        {QualityBased, SecondPass, true, "vqscale=4:mbd=1:subq=8 -af ", " -o \"out.flv\"\r\n"},
    };
    window.input = "in.avi";
    window.output = "out.flv";
    for (const Row& row : rows) {
        settings.mode = row.mode;
        const std::string line = Line(row.pass);
        const std::string where = "mode " + std::to_string(row.mode) + " pass " + std::to_string(row.pass);
        EXPECT_EQ(row.passLog, line.find("mencoder.exe \"in.avi\" -passlogfile ~pass.log -vf ") == 0) << where;
        EXPECT_NE(std::string::npos, line.find(std::string("vcodec=flv:") + row.codecEnd)) << where << ": " << line;
        const std::string end = *row.lineEnd ? row.lineEnd : " -nosound -o NUL";
        EXPECT_EQ(end, line.substr(line.size() - end.size())) << where;
    }
}

TEST_F(EncoderCommand, LongNamesAreWrittenWhole)
{
    const std::string name(600, 'n');
    window.input = name;
    window.output = name;
    const std::string line = Line(SinglePass);
    const std::string quoted = "\"" + name + "\"";
    EXPECT_EQ(0u, line.find("mencoder.exe " + quoted + " -vf "));
    EXPECT_EQ(" -o " + quoted + "\r\n", line.substr(line.size() - quoted.size() - 6));
}

// cmd reads at most 8191 bytes of a line, whatever they hold: a line of that length fits and one
// a byte longer does not, counted as written (a doubled %, a double-byte character). The second
// pass is the longer line of a two-pass script.
TEST_F(EncoderCommand, ALineFitsUpToWhatCmdReads)
{
    const struct { VideoMode mode; const char* stem; bool input; } shapes[] = {
        {ConstantBitrate, "C:\\out", false},
        {ConstantBitrate, "C:\\100%", false},
        {ConstantBitrate, "C:\\\x83\x5C", false},
        {TwoPass, "C:\\in", true},
    };
    for (const auto& shape : shapes) {
        settings.mode = shape.mode;
        const EncodePass longest = shape.mode == TwoPass ? SecondPass : SinglePass;
        for (int wanted : {kLongestScriptLine, kLongestScriptLine + 1}) {
            window.input = "C:\\in.avi";
            window.output = "C:\\out.flv";
            std::string& name = shape.input ? window.input : window.output;
            name = shape.stem;
            TextBuffer line;
            MakeEncoderCommand(line, longest, settings, window.Texts());
            name += std::string(wanted - line.Length(), 'n');
            MakeEncoderCommand(line, longest, settings, window.Texts());
            ASSERT_EQ(wanted, line.Length()) << shape.stem;
            TextBuffer script;
            EXPECT_EQ(wanted == kLongestScriptLine, MakeScript(settings, window.Texts(), script)) << shape.stem << " " << wanted;
        }
    }
}

TEST_F(EncoderCommand, PercentNamesGrowTheirBuffer)
{
    window.input = std::string(511, '%');
    const std::string line = Line(SinglePass);
    EXPECT_EQ(0u, line.find("mencoder.exe \"" + std::string(1022, '%') + "\" -vf "));
}

TEST(ScriptValues, OperatorsAndControlsAreRefusedRealValuesPass)
{
    for (const char* plain : {"29.97", "30000/1001", "320x240", "23.976", ""}) EXPECT_TRUE(IsPlainScriptValue(plain)) << plain;
    for (const char* unsafe : {"1&md q3&", "2|md x", "30>x", "<x", "a^b", "\"", "%PATH%", "30\r\n", "\t"}) {
        EXPECT_FALSE(IsPlainScriptValue(unsafe)) << unsafe;
    }
}

}  // namespace
