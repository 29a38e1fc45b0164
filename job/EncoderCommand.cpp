#include "job/EncoderCommand.h"

#include "job/Cmd.h"
#include "job/EncodeSettings.h"
#include "support/TextBuffer.h"

#include <windows.h>

const char kPassLogName[] = "~pass.log";
const char kEncoderName[] = "mencoder.exe";

namespace {

const char* FrameRateText(const char* framerate)
{
    if (lstrcmpiA(framerate, "23.976") == 0) return "24000/1001";
    if (lstrcmpiA(framerate, "29.97") == 0) return "30000/1001";
    return framerate;
}

// The encoder's channel mode: 0 stereo, 1 joint stereo, 3 mono.
int LameChannelMode(int channel)
{
    return channel == Mono ? 3 : channel - 1;
}

}  // namespace

void MakeEncoderCommand(TextBuffer& line, EncodePass pass, const EncodeSettings& settings, const ScriptTexts& texts)
{
    line.Assign("");
    TextBuffer work(511);
    TextBuffer small;

    line.Append(kEncoderName);
    line.Append(" ");
    AppendScriptName(line, texts.input);
    if (pass != SinglePass) {
        line.Append(" -passlogfile ");
        line.Append(kPassLogName);
    }
    line.Append(" -vf ");
    if (settings.bSize != 0) {
        small.Assign(settings.size);
        small.ReplaceChar('x', ':');
        work.Reserve(small.Length() + 20);
        wsprintfA(work.Data(), "scale=%s:0:0::,", small.Data());
        line.Append(work.Data());
    }
    line.Append("harddup -ofps ");
    line.Append(FrameRateText(settings.framerate));
    line.Append(" -of lavf -lavfopts format=flv -ovc lavc");
    line.Append(" -lavcopts vcodec=flv:");
    if (settings.mode == QualityBased) {
        wsprintfA(work.Data(), "vqscale=%d", settings.quality);
    } else {
        wsprintfA(work.Data(), "vbitrate=%d:vqmin=2:vqmax=31", settings.videoBitrate);
    }
    line.Append(work.Data());
    line.Append(":mbd=1:subq=8");
    // The mode decides whether there are passes at all; the pass only which one this line is.
    if (settings.mode == TwoPass) {
        if (pass == FirstPass) {
            line.Append(":vpass=1:turbo -nosound -o NUL");
            return;
        }
        line.Append(":vpass=2");
    }

    line.Append(" -af resample=");
    line.Append(texts.sampleRate);
    line.Append(":0:0");
    line.Append(" -oac mp3lame -lameopts cbr:");
    wsprintfA(work.Data(), "br=%d:aq=%d:highpassfreq=-1:lowpassfreq=-1", settings.audioBitrate, settings.compqua);
    line.Append(work.Data());
    if (settings.channel != Auto) {
        wsprintfA(work.Data(), ":mode=%d", LameChannelMode(settings.channel));
        line.Append(work.Data());
    }
    line.Append(" -o ");
    AppendScriptName(line, texts.output);
}

bool MakeScript(const EncodeSettings& settings, const ScriptTexts& texts, TextBuffer& script)
{
    TextBuffer line(1023);
    auto add = [&](EncodePass pass, const char* end) {
        MakeEncoderCommand(line, pass, settings, texts);
        script.Append(line.Data());
        script.Append(end);
        return line.Length() <= kLongestScriptLine;
    };
    script.Assign("@echo off\r\n\r\n");
    bool fits = settings.mode == TwoPass ? add(FirstPass, "\r\n\r\n") && add(SecondPass, "\r\n") : add(SinglePass, "\r\n");
    if (!fits) {
        script.Assign("");
        return false;
    }
    if (settings.Has(WaitForKey)) script.Append("echo.\r\necho ================\r\npause");
    return true;
}
