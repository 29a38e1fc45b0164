#include "job/EncoderCommand.h"

#include "common/TestFiles.h"
#include "job/FakeJobWindow.h"
#include "support/TextFileWriter.h"

#include <gtest/gtest.h>

namespace {

class EncoderCommand : public testing::Test {
protected:
    EncoderCommand() { SetDefaults(settings); }

    std::string Line(EncodePass pass)
    {
        const std::string path = folder.File("line.txt");
        {
            TextFileWriter writer;
            EXPECT_TRUE(writer.Open(path.c_str()));
            WriteEncoderCommand(writer, pass, settings, window);
            EXPECT_TRUE(writer.Whole());
        }
        return ReadFileBytes(path);
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
    FakeJobWindow window;
};

const char kDefaultLine[] =
    "mencoder.exe \"C:\\Video\\clip.avi\" -vf harddup -ofps 30 -of lavf -lavfopts format=flv -ovc lavc"
    " -lavcopts vcodec=flv:vbitrate=300:vqmin=2:vqmax=31:mbd=1:subq=8 -af resample=44100:0:0"
    " -oac mp3lame -lameopts cbr:br=64:aq=2:highpassfreq=-1:lowpassfreq=-1 -o \"C:\\Video\\clip.flv\"\r\n";

TEST_F(EncoderCommand, WorkedExampleDefaults)
{
    window.input = "C:\\Video\\clip.avi";
    window.output = "C:\\Video\\clip.flv";
    EXPECT_EQ(kDefaultLine, Line(SinglePass));
}

TEST_F(EncoderCommand, WorkedExampleQualityResizeMono)
{
    settings.mode = QualityBased;
    settings.quality = 5;
    settings.bSize = 1;
    lstrcpyA(settings.size, "320x240");
    lstrcpyA(settings.framerate, "29.97");
    settings.channel = Mono;
    settings.audioBitrate = 48;
    settings.compqua = 5;
    settings.samprate = 1;
    settings.OptFlag = WaitForKey;
    window.input = "D:\\Clips\\party.mpg";
    window.output = "D:\\Clips\\party.flv";
    window.sampleRate = "22050";
    EXPECT_EQ("mencoder.exe \"D:\\Clips\\party.mpg\" -vf scale=320:240:0:0::,harddup -ofps 30000/1001"
              " -of lavf -lavfopts format=flv -ovc lavc -lavcopts vcodec=flv:vqscale=5:mbd=1:subq=8"
              " -af resample=22050:0:0 -oac mp3lame -lameopts cbr:br=48:aq=5:highpassfreq=-1:lowpassfreq=-1:mode=3"
              " -o \"D:\\Clips\\party.flv\"\r\n",
              Line(SinglePass));
}

TEST_F(EncoderCommand, WorkedExampleTwoPass)
{
    settings.mode = TwoPass;
    settings.videoBitrate = 500;
    lstrcpyA(settings.framerate, "23.976");
    settings.channel = JointStereo;
    settings.audioBitrate = 96;
    window.input = "C:\\Video\\movie.avi";
    window.output = "C:\\Video\\movie.flv";
    EXPECT_EQ("mencoder.exe \"C:\\Video\\movie.avi\" -passlogfile ~pass.log -vf harddup -ofps 24000/1001"
              " -of lavf -lavfopts format=flv -ovc lavc"
              " -lavcopts vcodec=flv:vbitrate=500:vqmin=2:vqmax=31:mbd=1:subq=8:vpass=1:turbo -nosound -o NUL",
              Line(FirstPass));
    EXPECT_EQ("mencoder.exe \"C:\\Video\\movie.avi\" -passlogfile ~pass.log -vf harddup -ofps 24000/1001"
              " -of lavf -lavfopts format=flv -ovc lavc"
              " -lavcopts vcodec=flv:vbitrate=500:vqmin=2:vqmax=31:mbd=1:subq=8:vpass=2 -af resample=44100:0:0"
              " -oac mp3lame -lameopts cbr:br=96:aq=2:highpassfreq=-1:lowpassfreq=-1:mode=1"
              " -o \"C:\\Video\\movie.flv\"\r\n",
              Line(SecondPass));
}

TEST_F(EncoderCommand, WorkedExampleStereoSpacesInPaths)
{
    settings.videoBitrate = 800;
    settings.bSize = 1;
    lstrcpyA(settings.size, "640x480");
    lstrcpyA(settings.framerate, "15");
    settings.channel = Stereo;
    settings.audioBitrate = 32;
    settings.compqua = 9;
    settings.samprate = 0;
    settings.OptFlag = KeepBatch | PlayAfter;
    window.input = "E:\\My Videos\\trip 01.avi";
    window.output = "E:\\My Videos\\trip 01.flv";
    window.sampleRate = "11025";
    EXPECT_EQ("mencoder.exe \"E:\\My Videos\\trip 01.avi\" -vf scale=640:480:0:0::,harddup -ofps 15"
              " -of lavf -lavfopts format=flv -ovc lavc -lavcopts vcodec=flv:vbitrate=800:vqmin=2:vqmax=31:mbd=1:subq=8"
              " -af resample=11025:0:0 -oac mp3lame -lameopts cbr:br=32:aq=9:highpassfreq=-1:lowpassfreq=-1:mode=0"
              " -o \"E:\\My Videos\\trip 01.flv\"\r\n",
              Line(SinglePass));
}

// Every branch as one change to the default settings and what it does to the line.
TEST_F(EncoderCommand, Branches)
{
    struct Case {
        const char* what;
        void (*change)(EncodeSettings&, FakeJobWindow&);
        const char* from;
        const char* to;
    };
    const Case cases[] = {
        {"resize x", [](EncodeSettings& s, FakeJobWindow&) { s.bSize = 1; }, " -vf harddup", " -vf scale=320:240:0:0::,harddup"},
        {"resize X", [](EncodeSettings& s, FakeJobWindow&) { s.bSize = 1; lstrcpyA(s.size, "320X240"); },
         " -vf harddup", " -vf scale=320X240:0:0::,harddup"},
        {"several x", [](EncodeSettings& s, FakeJobWindow&) { s.bSize = 1; lstrcpyA(s.size, "640x480x2"); },
         " -vf harddup", " -vf scale=640:480:2:0:0::,harddup"},
        {"no resize, any size", [](EncodeSettings& s, FakeJobWindow&) { lstrcpyA(s.size, "999x999"); }, " -vf harddup", " -vf harddup"},
        {"bSize any non-zero", [](EncodeSettings& s, FakeJobWindow&) { s.bSize = -3; lstrcpyA(s.size, "abc"); },
         " -vf harddup", " -vf scale=abc:0:0::,harddup"},
        {"23.976", [](EncodeSettings& s, FakeJobWindow&) { lstrcpyA(s.framerate, "23.976"); }, "-ofps 30 ", "-ofps 24000/1001 "},
        {"29.97", [](EncodeSettings& s, FakeJobWindow&) { lstrcpyA(s.framerate, "29.97"); }, "-ofps 30 ", "-ofps 30000/1001 "},
        {"23.976 and a space", [](EncodeSettings& s, FakeJobWindow&) { lstrcpyA(s.framerate, "23.976 "); }, "-ofps 30 ", "-ofps 23.976  "},
        {"25", [](EncodeSettings& s, FakeJobWindow&) { lstrcpyA(s.framerate, "25"); }, "-ofps 30 ", "-ofps 25 "},
        {"12.5", [](EncodeSettings& s, FakeJobWindow&) { lstrcpyA(s.framerate, "12.5"); }, "-ofps 30 ", "-ofps 12.5 "},
        {"empty frame rate", [](EncodeSettings& s, FakeJobWindow&) { s.framerate[0] = '\0'; }, "-ofps 30 -of", "-ofps  -of"},
        {"quality mode", [](EncodeSettings& s, FakeJobWindow&) { s.mode = QualityBased; s.quality = 31; },
         "vbitrate=300:vqmin=2:vqmax=31", "vqscale=31"},
        {"mode -1", [](EncodeSettings& s, FakeJobWindow&) { s.mode = -1; s.quality = 9; }, "vbitrate=300", "vbitrate=300"},
        {"mode 3", [](EncodeSettings& s, FakeJobWindow&) { s.mode = 3; s.videoBitrate = -5; }, "vbitrate=300", "vbitrate=-5"},
        {"channel 1", [](EncodeSettings& s, FakeJobWindow&) { s.channel = Stereo; }, "lowpassfreq=-1 ", "lowpassfreq=-1:mode=0 "},
        {"channel 2", [](EncodeSettings& s, FakeJobWindow&) { s.channel = JointStereo; }, "lowpassfreq=-1 ", "lowpassfreq=-1:mode=1 "},
        {"channel 3", [](EncodeSettings& s, FakeJobWindow&) { s.channel = Mono; }, "lowpassfreq=-1 ", "lowpassfreq=-1:mode=3 "},
        {"channel 7", [](EncodeSettings& s, FakeJobWindow&) { s.channel = 7; }, "lowpassfreq=-1 ", "lowpassfreq=-1:mode=6 "},
        {"no sample rate", [](EncodeSettings&, FakeJobWindow& w) { w.sampleRate = ""; }, "resample=44100:0:0", "resample=:0:0"},
        {"audio numbers", [](EncodeSettings& s, FakeJobWindow&) { s.audioBitrate = 0; s.compqua = 0; }, "br=64:aq=2", "br=0:aq=0"},
        {"percent", [](EncodeSettings&, FakeJobWindow& w) { w.input = "C:\\Video\\100% clip.avi"; },
         "\"C:\\Video\\clip.avi\"", "\"C:\\Video\\100%% clip.avi\""},
        {"percent one", [](EncodeSettings&, FakeJobWindow& w) { w.output = "C:\\%1\\%PATH%.flv"; },
         "\"C:\\Video\\clip.flv\"", "\"C:\\%%1\\%%PATH%%.flv\""},
        {"quote", [](EncodeSettings&, FakeJobWindow& w) { w.output = "C:\\a.flv\" & del x & \"b"; },
         "\"C:\\Video\\clip.flv\"", "\"C:\\a.flv & del x & b\""},
        {"cp932 and specials", [](EncodeSettings&, FakeJobWindow& w) { w.input = "C:\\\x83\x5C\\\x95\x5C & ^!();.avi"; },
         "\"C:\\Video\\clip.avi\"", "\"C:\\\x83\x5C\\\x95\x5C & ^!();.avi\""},
    };
    for (const Case& c : cases) {
        SetDefaults(settings);
        window = FakeJobWindow();
        window.input = "C:\\Video\\clip.avi";
        window.output = "C:\\Video\\clip.flv";
        c.change(settings, window);
        EXPECT_EQ(Swap(kDefaultLine, c.from, c.to), Line(SinglePass)) << c.what;
    }
}

TEST_F(EncoderCommand, PassesShapeTheLine)
{
    window.input = "in.avi";
    window.output = "out.flv";
    const std::string single = Line(SinglePass);
    const std::string first = Line(FirstPass);
    const std::string second = Line(SecondPass);
    EXPECT_EQ(std::string::npos, single.find("-passlogfile"));
    EXPECT_NE(std::string::npos, first.find(" -passlogfile ~pass.log -vf "));
    EXPECT_NE(std::string::npos, second.find(" -passlogfile ~pass.log -vf "));
    EXPECT_EQ(" -nosound -o NUL", first.substr(first.size() - 16));
    EXPECT_EQ(" -o \"out.flv\"\r\n", second.substr(second.size() - 15));
    EXPECT_NE(std::string::npos, second.find(":subq=8:vpass=2 -af "));
    // Two-pass lines follow the mode of the record only through the rate control.
    settings.mode = QualityBased;
    EXPECT_NE(std::string::npos, Line(SecondPass).find("vqscale=4:mbd=1:subq=8:vpass=2"));
}

TEST_F(EncoderCommand, LongNamesAreCutAt511)
{
    const std::string name(600, 'n');
    window.input = name;
    window.output = name;
    const std::string line = Line(SinglePass);
    const std::string quoted = "\"" + std::string(511, 'n') + "\"";
    EXPECT_EQ(0u, line.find("mencoder.exe " + quoted + " -vf "));
    EXPECT_EQ(" -o " + quoted + "\r\n", line.substr(line.size() - quoted.size() - 6));
}

TEST_F(EncoderCommand, PercentNamesGrowTheirBuffer)
{
    window.input = std::string(511, '%');
    const std::string line = Line(SinglePass);
    EXPECT_EQ(0u, line.find("mencoder.exe \"" + std::string(1022, '%') + "\" -vf "));
}

}  // namespace
