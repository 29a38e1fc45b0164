#pragma once

#include "support/TextBuffer.h"

enum VideoMode { ConstantBitrate = 0, QualityBased = 1, TwoPass = 2 };

enum ChannelMode { Auto = 0, Stereo = 1, JointStereo = 2, Mono = 3 };

// Bits of EncodeSettings::OptFlag; bits 3 to 15 have no meaning.
enum OptionBit : unsigned short { WaitForKey = 1 << 0, KeepBatch = 1 << 1, PlayAfter = 1 << 2 };

// Everything the user can set. One instance lives for the whole process; numbers and
// texts start at zero and get their defaults when the settings file is read. The fields keep
// the names of the settings file's keys.
struct EncodeSettings {
    // VideoMode: the index of the video-mode list.
    int mode = 0;
    // Video bitrate in kbit/s, for constant bitrate and two passes (key "bitrate" in [Video]).
    int videoBitrate = 0;
    // Fixed quantiser of the quality-based mode, 0 best to 31 worst.
    int quality = 0;
    // Non-zero: the video is scaled to size.
    int bSize = 0;
    // ChannelMode: the index of the channel list.
    int channel = 0;
    // MP3 bitrate in kbit/s (key "bitrate" in [Audio]).
    int audioBitrate = 0;
    // MP3 encoder quality, 0 best to 9 worst.
    int compqua = 0;
    // Index of the sample-rate list: 0 is 11025 Hz, 1 is 22050 Hz, 2 is 44100 Hz.
    int samprate = 0;
    // Output frame rate as typed, such as "29.97".
    char framerate[10] = {};
    // Output frame size as width x height, such as "320x240".
    char size[10] = {};
    // Folder of the last input chosen in the open dialog, where it starts next time.
    TextBuffer InputDir;
    // Folder of the last output chosen in the save dialog.
    TextBuffer OutputDir;
    // Full name of the player program.
    TextBuffer Player;
    // OptionBit flags; bits 3 to 15 are kept as read until the controls are stored.
    unsigned short OptFlag = 0;

    EncodeSettings() = default;
    EncodeSettings(const EncodeSettings&) = delete;
    EncodeSettings& operator=(const EncodeSettings&) = delete;

    bool Has(OptionBit bit) const { return (OptFlag & bit) != 0; }
};
