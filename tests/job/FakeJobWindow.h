#pragma once

#include "job/JobWindow.h"
#include "support/TextBuffer.h"

#include <windows.h>

#include <string>
#include <vector>

// The job's view of the main window, without a window: fixed texts and a record of
// the busy-state switches.
class FakeJobWindow : public JobWindow {
public:
    std::string input, output, sampleRate = "44100";
    std::vector<bool> enableCalls;

    void GetInputFile(TextBuffer& name) override { lstrcpynA(name.Data(), input.c_str(), name.BufferSize()); }
    void GetOutputFile(TextBuffer& name) override { lstrcpynA(name.Data(), output.c_str(), name.BufferSize()); }
    void GetSampleRateText(TextBuffer& text) override { text.Assign(sampleRate.c_str()); }
    void EnableCommands(bool enable) override { enableCalls.push_back(enable); }
};
