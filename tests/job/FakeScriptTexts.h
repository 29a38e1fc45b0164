#pragma once

#include "job/EncoderCommand.h"

#include <string>

// The names and the sample rate a run's lines are built from, held whole.
struct FakeScriptTexts {
    std::string input, output, sampleRate = "44100";

    ScriptTexts Texts() const { return {input.c_str(), output.c_str(), sampleRate.c_str()}; }
};
