#pragma once

#include "common/MessagePump.h"
#include "job/EncodeJob.h"
#include "job/EncoderCommand.h"
#include "job/FakeScriptTexts.h"
#include "job/JobWindow.h"
#include "support/CodePage.h"
#include "support/ScopedHandle.h"
#include "support/TextBuffer.h"

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

// The job's view of a window: the busy-state switches, recorded with the thread that made
// each, and the names a run's script is built from.
class JobTestWindow : public JobWindow, public FakeScriptTexts {
public:
    explicit JobTestWindow(ProcessStarter start = CreateProcessW)
        : runs(start), changed(CreateEventA(nullptr, FALSE, FALSE, nullptr))
    {
    }
    JobTestWindow(const JobTestWindow&) = delete;
    JobTestWindow& operator=(const JobTestWindow&) = delete;

    void SetFiles(const std::string& in, const std::string& out)
    {
        input = in;
        output = out;
    }
    void SetOutput(const std::string& out) { output = out; }

    // The script of these names and settings, then the job; error keeps the system's reason.
    JobStart Start(EncodeSettings& settings)
    {
        TextBuffer script;
        WideText full;
        if (!MakeScript(settings, Texts(), script)) return ScriptNotRun;
        FromCodePage(output.c_str(), CP_ACP, full);
        return StartJob(*this, runs, settings, script, full, error);
    }

    void EnableCommands(bool enable) override { Record(enable); }
    // Recorded as the end of the busy state, from the worker's thread.
    void PostRunEnd() override { Record(true); }

    // Pumps messages until the busy state has ended or the time is up.
    bool WaitIdle(DWORD milliseconds = 60000)
    {
        DWORD start = GetTickCount();
        while (!Idle()) {
            DWORD elapsed = GetTickCount() - start;
            if (elapsed >= milliseconds) return false;
            HANDLE event = changed.Get();
            MsgWaitForMultipleObjects(1, &event, FALSE, milliseconds - elapsed, QS_ALLINPUT);
            Pump();
        }
        return true;
    }

    bool Idle()
    {
        std::lock_guard<std::mutex> hold(lock);
        return !calls.empty() && calls.back().enable;
    }

    std::vector<bool> Calls()
    {
        std::lock_guard<std::mutex> hold(lock);
        std::vector<bool> states;
        for (const Call& call : calls) states.push_back(call.enable);
        return states;
    }

    struct Call {
        bool enable;
        DWORD thread;
    };
    std::vector<Call> calls;
    JobRuns runs;
    DWORD error = 0;

private:
    void Record(bool enable)
    {
        std::lock_guard<std::mutex> hold(lock);
        calls.push_back({enable, GetCurrentThreadId()});
        SetEvent(changed.Get());
    }

    std::mutex lock;
    ScopedHandle changed;
};
