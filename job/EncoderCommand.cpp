#include "job/EncoderCommand.h"

#include "job/EncodeSettings.h"
#include "job/JobWindow.h"
#include "support/TextBuffer.h"
#include "support/TextFileWriter.h"

#include <windows.h>

const char kPassLogName[] = "~pass.log";

namespace {

// cmd expands % even between double quotes, so it is doubled; a double quote, which no
// file name can hold, is dropped so the name can never end the quoting early.
void WriteQuotedName(TextFileWriter& script, const TextBuffer& name, TextBuffer& work)
{
    work.Reserve(2 * name.Length());
    char* out = work.Data();
    for (const char* p = name.Data(); *p;) {
        const char* next = CharNextA(p);
        if (*p == '%') {
            *out++ = '%';
            *out++ = '%';
        } else if (*p != '"') {
            while (p < next) *out++ = *p++;
        }
        p = next;
    }
    *out = '\0';
    script.WriteChar('"');
    script.WriteString(work.Data());
    script.WriteChar('"');
}

const char* FrameRateText(const char* framerate)
{
    if (lstrcmpA(framerate, "23.976") == 0) return "24000/1001";
    if (lstrcmpA(framerate, "29.97") == 0) return "30000/1001";
    return framerate;
}

// The encoder's channel mode: 0 stereo, 1 joint stereo, 3 mono.
int LameChannelMode(int channel)
{
    return channel == Mono ? 3 : channel - 1;
}

}  // namespace

void WriteEncoderCommand(TextFileWriter& script, EncodePass pass, const EncodeSettings& settings, JobWindow& window)
{
    TextBuffer work(511);
    TextBuffer small;

    script.WriteString("mencoder.exe ");
    {
        TextBuffer input(511);
        window.GetInputFile(input);
        WriteQuotedName(script, input, work);
    }
    if (pass != SinglePass) {
        script.WriteString(" -passlogfile ");
        script.WriteString(kPassLogName);
    }
    script.WriteString(" -vf ");
    if (settings.bSize != 0) {
        small.Assign(settings.size);
        small.ReplaceChar('x', ':');
        work.Reserve(small.Length() + 20);
        wsprintfA(work.Data(), "scale=%s:0:0::,", small.Data());
        script.WriteString(work.Data());
    }
    script.WriteString("harddup -ofps ");
    script.WriteString(FrameRateText(settings.framerate));
    script.WriteString(" -of lavf -lavfopts format=flv -ovc lavc");
    script.WriteString(" -lavcopts vcodec=flv:");
    if (settings.mode == QualityBased) {
        wsprintfA(work.Data(), "vqscale=%d", settings.quality);
    } else {
        wsprintfA(work.Data(), "vbitrate=%d:vqmin=2:vqmax=31", settings.videoBitrate);
    }
    script.WriteString(work.Data());
    script.WriteString(":mbd=1:subq=8");
    // The mode decides whether there are passes at all; the pass only which one this line is.
    if (settings.mode == TwoPass) {
        if (pass == FirstPass) {
            script.WriteString(":vpass=1:turbo -nosound -o NUL");
            return;
        }
        script.WriteString(":vpass=2");
    }

    window.GetSampleRateText(small);
    script.WriteString(" -af resample=");
    script.WriteString(small.Data());
    script.WriteString(":0:0");
    script.WriteString(" -oac mp3lame -lameopts cbr:");
    wsprintfA(work.Data(), "br=%d:aq=%d:highpassfreq=-1:lowpassfreq=-1", settings.audioBitrate, settings.compqua);
    script.WriteString(work.Data());
    if (settings.channel != Auto) {
        wsprintfA(work.Data(), ":mode=%d", LameChannelMode(settings.channel));
        script.WriteString(work.Data());
    }
    script.WriteString(" -o ");
    {
        TextBuffer output(511);
        window.GetOutputFile(output);
        WriteQuotedName(script, output, work);
    }
    script.WriteNewLine();
}
