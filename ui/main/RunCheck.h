#pragma once

#include "support/CodePage.h"
#include "support/TextBuffer.h"

struct EncodeSettings;

// Why Run does not start: the first reason found, in the order a user would put them right.
enum RunRefusal {
    RunAllowed,
    NoFileNames,
    NetworkProgramFolder,
    UnusableProgramFolder,
    UnusableCharacter,
    DriveRelativeName,
    InputMissing,
    NoWrittenForm,
    SameFile,
    OutputIsProgramFile,
    UnusableValue,
    // A frame rate or size longer than the settings record keeps.
    ValueTooLong,
    EncoderMissing,
    LineTooLong,
};

// What Run is given: the names as the user typed them, the program folder, and the settings as
// the controls left them, with the frame rate and size as shown (the settings keep at most 8
// bytes of each) and the sample rate as its list shows it.
struct RunRequest {
    const wchar_t* input;
    const wchar_t* output;
    const wchar_t* programFolder;
    const EncodeSettings& settings;
    const wchar_t* frameRate;
    const wchar_t* frameSize;
    const char* sampleRate;
};

// What a Run that may start writes: the two names, resolved once from the program folder where
// the script runs, so that what is judged here is what cmd opens, and the script built from them.
struct RunPlan {
    WrittenName input;
    WrittenName output;
    TextBuffer script;
};

// Judges a Run without touching a file; the plan is whole only when Run may start.
RunRefusal CheckRun(const RunRequest& request, RunPlan& plan);

// The refusal for a name that cannot be written.
RunRefusal RefusalFor(NameFault fault);
