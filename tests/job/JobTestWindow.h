#pragma once

#include "common/MessagePump.h"
#include "job/JobWindow.h"
#include "support/CodePage.h"
#include "support/TextBuffer.h"

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

// The job's view of a window with real controls: the file fields are edit windows of
// the test's thread, so a worker reading them needs that thread to keep pumping.
class JobTestWindow : public JobWindow {
public:
    JobTestWindow()
    {
        input = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
        output = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
        changed = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    }
    ~JobTestWindow()
    {
        DestroyWindow(input);
        DestroyWindow(output);
        CloseHandle(changed);
    }
    JobTestWindow(const JobTestWindow&) = delete;
    JobTestWindow& operator=(const JobTestWindow&) = delete;

    void SetFiles(const std::string& in, const std::string& out)
    {
        SetWindowTextA(input, in.c_str());
        SetWindowTextA(output, out.c_str());
    }
    void SetOutput(const std::string& out) { SetWindowTextA(output, out.c_str()); }

    void GetInputFile(TextBuffer& name) override { GetWindowTextA(input, name.Data(), name.BufferSize()); }
    void GetOutputFile(TextBuffer& name) override { GetWindowTextA(output, name.Data(), name.BufferSize()); }
    void GetOutputFullName(WideText& name) override
    {
        TextBuffer text(2047);
        GetOutputFile(text);
        FromCodePage(text.Data(), CP_ACP, name);
    }
    void GetSampleRateText(TextBuffer& text) override { text.Assign(sampleRate.c_str()); }
    void EnableCommands(bool enable) override
    {
        std::lock_guard<std::mutex> hold(lock);
        calls.push_back({enable, GetCurrentThreadId()});
        SetEvent(changed);
    }

    // Pumps messages until the busy state has ended or the time is up.
    bool WaitIdle(DWORD milliseconds = 60000)
    {
        DWORD start = GetTickCount();
        while (!Idle()) {
            DWORD elapsed = GetTickCount() - start;
            if (elapsed >= milliseconds) return false;
            MsgWaitForMultipleObjects(1, &changed, FALSE, milliseconds - elapsed, QS_ALLINPUT);
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
    std::string sampleRate = "44100";

private:
    std::mutex lock;
    HWND input, output;
    HANDLE changed;
};
