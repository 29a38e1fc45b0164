#pragma once

class TextBuffer;
class WideText;

// What an encoding job needs of the main window. The names are the ones fixed when Run was
// pressed. The worker thread calls only EnableCommands, at the end of a run, while it holds
// the job lock: an implementation must not wait there for the window's thread.
class JobWindow {
public:
    // The files of the run, as its script names them.
    virtual void GetInputFile(TextBuffer& name) = 0;
    virtual void GetOutputFile(TextBuffer& name) = 0;
    // The run's output as its full name in the user's own spelling: what the player opens.
    virtual void GetOutputFullName(WideText& name) = 0;
    // The displayed text of the sample-rate list, whole; empty when nothing is selected.
    virtual void GetSampleRateText(TextBuffer& text) = 0;
    // false: the busy state begins; true: it ends.
    virtual void EnableCommands(bool enable) = 0;

protected:
    ~JobWindow() = default;
};
