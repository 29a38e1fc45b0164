#pragma once

class TextBuffer;
struct EncodeSettings;

// The first pass's statistics for the second, in the program folder.
extern const char kPassLogName[];
// The encoder, called by bare name: cmd finds it in the program folder or on the PATH.
extern const char kEncoderName[];

enum EncodePass { SinglePass = 0, FirstPass = 1, SecondPass = 2 };

// What a run's lines take beside the settings, borrowed: the file names as the script writes
// them, and the sample rate as its list shows it.
struct ScriptTexts {
    const char* input;
    const char* output;
    const char* sampleRate;
};

// One encoder command line for the pass, without its line end.
void MakeEncoderCommand(TextBuffer& line, EncodePass pass, const EncodeSettings& settings, const ScriptTexts& texts);
// The whole script, each line built once; false, with nothing kept, when a line is longer than
// cmd reads. The first pass of a two-pass run ends with two line ends (an empty line
// follows it); every other encoder line ends with one, CR LF.
bool MakeScript(const EncodeSettings& settings, const ScriptTexts& texts, TextBuffer& script);
