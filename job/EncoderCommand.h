#pragma once

class JobWindow;
class TextFileWriter;
struct EncodeSettings;

// The first pass's statistics for the second, in the program folder.
extern const char kPassLogName[];

enum EncodePass { SinglePass = 0, FirstPass = 1, SecondPass = 2 };

// Writes one encoder command line for the pass into the open script. A first-pass
// line ends without a line end; every other line ends with CR LF.
void WriteEncoderCommand(TextFileWriter& script, EncodePass pass, const EncodeSettings& settings, JobWindow& window);
