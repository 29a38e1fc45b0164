#pragma once

#include "job/EncodeSettings.h"
#include "settings/SettingsFile.h"

#include <windows.h>

#include <string>


// Four whole scripts, every byte fixed: the settings, the two file fields, the displayed
// sample rate and the script they give.
struct WorkedExample {
    const char* name;
    void (*apply)(EncodeSettings&);
    const char* input;
    const char* output;
    const char* sampleRate;
    const char* script;
    size_t size;
};

inline const WorkedExample kWorkedExamples[] = {
    {"defaults", [](EncodeSettings& s) { SetDefaultSettings(s); },
     "C:\\Video\\clip.avi", "C:\\Video\\clip.flv", "44100",
     "@echo off\r\n\r\n"
     "mencoder.exe \"C:\\Video\\clip.avi\" -vf harddup -ofps 30 -of lavf -lavfopts format=flv -ovc lavc"
     " -lavcopts vcodec=flv:vbitrate=300:vqmin=2:vqmax=31:mbd=1:subq=8 -af resample=44100:0:0"
     " -oac mp3lame -lameopts cbr:br=64:aq=2:highpassfreq=-1:lowpassfreq=-1 -o \"C:\\Video\\clip.flv\"\r\n",
     287},
    {"quality, resize, mono, pause",
     [](EncodeSettings& s) {
         SetDefaultSettings(s);
         s.mode = QualityBased;
         s.quality = 5;
         s.bSize = 1;
         lstrcpyA(s.framerate, "29.97");
         s.channel = Mono;
         s.audioBitrate = 48;
         s.compqua = 5;
         s.samprate = 1;
         s.OptFlag = WaitForKey;
     },
     "D:\\Clips\\party.mpg", "D:\\Clips\\party.flv", "22050",
     "@echo off\r\n\r\n"
     "mencoder.exe \"D:\\Clips\\party.mpg\" -vf scale=320:240:0:0::,harddup -ofps 30000/1001"
     " -of lavf -lavfopts format=flv -ovc lavc -lavcopts vcodec=flv:vqscale=5:mbd=1:subq=8"
     " -af resample=22050:0:0 -oac mp3lame -lameopts cbr:br=48:aq=5:highpassfreq=-1:lowpassfreq=-1:mode=3"
     " -o \"D:\\Clips\\party.flv\"\r\n"
     "echo.\r\necho ================\r\npause",
     339},
    {"two-pass, joint stereo",
     [](EncodeSettings& s) {
         SetDefaultSettings(s);
         s.mode = TwoPass;
         s.videoBitrate = 500;
         lstrcpyA(s.framerate, "23.976");
         s.channel = JointStereo;
         s.audioBitrate = 96;
     },
     "C:\\Video\\movie.avi", "C:\\Video\\movie.flv", "44100",
     "@echo off\r\n\r\n"
     "mencoder.exe \"C:\\Video\\movie.avi\" -passlogfile ~pass.log -vf harddup -ofps 24000/1001"
     " -of lavf -lavfopts format=flv -ovc lavc"
     " -lavcopts vcodec=flv:vbitrate=500:vqmin=2:vqmax=31:mbd=1:subq=8:vpass=1:turbo -nosound -o NUL\r\n\r\n"
     "mencoder.exe \"C:\\Video\\movie.avi\" -passlogfile ~pass.log -vf harddup -ofps 24000/1001"
     " -of lavf -lavfopts format=flv -ovc lavc"
     " -lavcopts vcodec=flv:vbitrate=500:vqmin=2:vqmax=31:mbd=1:subq=8:vpass=2 -af resample=44100:0:0"
     " -oac mp3lame -lameopts cbr:br=96:aq=2:highpassfreq=-1:lowpassfreq=-1:mode=1"
     " -o \"C:\\Video\\movie.flv\"\r\n",
     558},
    {"bitrate, resize, stereo, spaces",
     [](EncodeSettings& s) {
         SetDefaultSettings(s);
         s.videoBitrate = 800;
         s.bSize = 1;
         lstrcpyA(s.size, "640x480");
         lstrcpyA(s.framerate, "15");
         s.channel = Stereo;
         s.audioBitrate = 32;
         s.compqua = 9;
         s.samprate = 0;
         s.OptFlag = KeepBatch | PlayAfter;
     },
     "E:\\My Videos\\trip 01.avi", "E:\\My Videos\\trip 01.flv", "11025",
     "@echo off\r\n\r\n"
     "mencoder.exe \"E:\\My Videos\\trip 01.avi\" -vf scale=640:480:0:0::,harddup -ofps 15"
     " -of lavf -lavfopts format=flv -ovc lavc -lavcopts vcodec=flv:vbitrate=800:vqmin=2:vqmax=31:mbd=1:subq=8"
     " -af resample=11025:0:0 -oac mp3lame -lameopts cbr:br=32:aq=9:highpassfreq=-1:lowpassfreq=-1:mode=0"
     " -o \"E:\\My Videos\\trip 01.flv\"\r\n",
     328},
};
