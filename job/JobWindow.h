#pragma once

class TextBuffer;

// What an encoding job needs of the main window. The worker thread calls these too,
// so implementations reach the window only through window-system calls.
class JobWindow {
public:
    // The files of the run, as its script names them.
    virtual void GetInputFile(TextBuffer& name) = 0;
    virtual void GetOutputFile(TextBuffer& name) = 0;
    // The displayed text of the sample-rate list, whole; empty when nothing is selected.
    virtual void GetSampleRateText(TextBuffer& text) = 0;
    // false: the busy state begins; true: it ends.
    virtual void EnableCommands(bool enable) = 0;

protected:
    ~JobWindow() = default;
};
