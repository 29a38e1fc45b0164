#pragma once

class JobWindow;
class TextBuffer;
class TextFileWriter;
struct EncodeSettings;

// The first pass's statistics for the second, in the program folder.
extern const char kPassLogName[];
// The encoder, called by bare name: cmd finds it in the program folder or on the PATH.
extern const char kEncoderName[];

// cmd reads at most this many bytes of a script line; what lies beyond would run as a command
// of its own.
const int kLongestScriptLine = 8191;

enum EncodePass { SinglePass = 0, FirstPass = 1, SecondPass = 2 };

// One encoder command line for the pass, without its line end.
void MakeEncoderCommand(TextBuffer& line, EncodePass pass, const EncodeSettings& settings, JobWindow& window);
// Writes one encoder command line for the pass into the open script. The first pass of a
// two-pass run ends without a line end; every other line ends with CR LF.
void WriteEncoderCommand(TextFileWriter& script, EncodePass pass, const EncodeSettings& settings, JobWindow& window);
