#pragma once

#include "job/JobWindow.h"
#include "support/CodePage.h"
#include "support/TextBuffer.h"

#include <windows.h>

#include <string>
#include <vector>

// The job's view of the main window, without a window: fixed names, whole as the window
// gives them, and a record of the busy-state switches.
class FakeJobWindow : public JobWindow {
public:
    std::string input, output, sampleRate = "44100";
    std::vector<bool> enableCalls;

    void GetInputFile(TextBuffer& name) override { name.Assign(input.c_str()); }
    void GetOutputFile(TextBuffer& name) override { name.Assign(output.c_str()); }
    void GetOutputFullName(WideText& name) override { FromCodePage(output.c_str(), CP_ACP, name); }
    void GetSampleRateText(TextBuffer& text) override { text.Assign(sampleRate.c_str()); }
    void EnableCommands(bool enable) override { enableCalls.push_back(enable); }
};
