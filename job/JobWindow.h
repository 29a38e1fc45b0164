#pragma once

// What an encoding job needs of the main window.
class JobWindow {
public:
    // On the window's thread: false, the busy state begins; true, it ends.
    virtual void EnableCommands(bool enable) = 0;
    // From the worker, at the end of a run, while it holds the job lock: the end, recorded for
    // the window, is to be taken on the window's thread. An implementation only posts.
    virtual void PostRunEnd() = 0;

protected:
    ~JobWindow() = default;
};
