#pragma once

#include "support/TextBuffer.h"

enum VideoMode { ConstantBitrate = 0, QualityBased = 1, TwoPass = 2 };

enum ChannelMode { Auto = 0, Stereo = 1, JointStereo = 2, Mono = 3 };

// Bits of EncodeSettings::OptFlag; bits 3 to 15 have no meaning.
enum OptionBit : unsigned short { WaitForKey = 1 << 0, KeepBatch = 1 << 1, PlayAfter = 1 << 2 };

// Everything the user can set. One instance lives for the whole process; numbers and
// texts start at zero and get their defaults when the settings file is read.
struct EncodeSettings {
    int mode = 0;
    int videoBitrate = 0;
    int quality = 0;
    int bSize = 0;
    int channel = 0;
    int audioBitrate = 0;
    int compqua = 0;
    int samprate = 0;
    char framerate[10] = {};
    char size[10] = {};
    TextBuffer InputDir;
    TextBuffer OutputDir;
    TextBuffer Player;
    unsigned short OptFlag = 0;

    EncodeSettings() = default;
    EncodeSettings(const EncodeSettings&) = delete;
    EncodeSettings& operator=(const EncodeSettings&) = delete;
    ~EncodeSettings();

    bool Has(OptionBit bit) const { return (OptFlag & bit) != 0; }
};
