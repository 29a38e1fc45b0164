#include "job/EncodeJob.h"

#include "common/TestFiles.h"
#include "job/EncodeSettings.h"
#include "JobTestWindow.h"
#include "WorkedExamples.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <sstream>

namespace {

// Real encodes: mencoder.exe, ffmpeg.exe and ffprobe.exe beside this test are bridges to
// the host's programs, so the script, cmd and the encoder all run for real.
class Conversion : public testing::Test {
protected:
    static std::string File(const std::string& name) { return ExecutableFolder() + "\\" + name; }

    static void SetUpTestSuite()
    {
        // Three seconds of moving picture with a stereo tone, in an AVI as a user would have it.
        MakeClip(File("clip.avi"), 3, "320x240");
    }

    // Each stream's properties as ffprobe reports them, by codec type.
    static std::map<std::string, std::map<std::string, std::string>> Probe(const std::string& path)
    {
        std::istringstream lines(RunAndCapture(File("ffprobe.exe") + " -v error -show_entries"
                                         " stream=codec_type,codec_name,width,height,r_frame_rate,sample_rate,channels"
                                         " -of default=noprint_wrappers=1 \"" + path + "\""));
        std::map<std::string, std::map<std::string, std::string>> streams;
        std::map<std::string, std::string> stream;
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            size_t equals = line.find('=');
            if (equals == std::string::npos) continue;
            std::string key = line.substr(0, equals), value = line.substr(equals + 1);
            if (key == "codec_name" && !stream.empty()) {
                streams[stream["codec_type"]] = stream;
                stream.clear();
            }
            stream[key] = value;
        }
        if (!stream.empty()) streams[stream["codec_type"]] = stream;
        return streams;
    }
};

TEST_F(Conversion, WorkedExamplesMakeTheExpectedFlv)
{
    ASSERT_TRUE(FileExists(File("clip.avi"))) << "ffmpeg made no clip";
    const struct { const char* size; const char* rate; const char* sampleRate; const char* channels; } expected[] = {
        {"320x240", "30/1", "44100", "2"},
        {"320x240", "30000/1001", "22050", "1"},
        {"320x240", "24000/1001", "44100", "2"},
        {"640x480", "15/1", "11025", "2"},
    };
    int index = 0;
    for (const WorkedExample& example : kWorkedExamples) {
        const auto& want = expected[index++];
        EncodeSettings settings;
        example.apply(settings);
        // A pause would wait for a key no one presses here.
        settings.OptFlag &= ~WaitForKey;
        const std::string output = File(std::string("out ") + std::to_string(index) + ".flv");
        DeleteFileA(output.c_str());
        JobTestWindow window;
        window.SetFiles(File("clip.avi"), output);
        window.sampleRate = example.sampleRate;
        window.Start(settings);
        ASSERT_TRUE(window.WaitIdle(180000)) << example.name;

        auto streams = Probe(output);
        ASSERT_EQ(2u, streams.size()) << example.name << ": " << RunAndCapture(File("ffprobe.exe") + " \"" + output + "\"");
        auto& video = streams["video"];
        auto& audio = streams["audio"];
        EXPECT_EQ("flv1", video["codec_name"]) << example.name;
        EXPECT_EQ(want.size, video["width"] + "x" + video["height"]) << example.name;
        EXPECT_EQ(want.rate, video["r_frame_rate"]) << example.name;
        EXPECT_EQ("mp3", audio["codec_name"]) << example.name;
        EXPECT_EQ(want.sampleRate, audio["sample_rate"]) << example.name;
        EXPECT_EQ(want.channels, audio["channels"]) << example.name;

        EXPECT_FALSE(FileExists(File("~pass.log"))) << example.name;
        if (settings.Has(KeepBatch)) {
            EXPECT_EQ(0u, ReadFileBytes(File("~enc.bat")).find("@echo off\r\n\r\nmencoder.exe \"" + File("clip.avi") + "\""));
        } else {
            EXPECT_FALSE(FileExists(File("~enc.bat"))) << example.name;
        }
    }
}

}  // namespace
