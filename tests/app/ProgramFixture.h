#pragma once

#include "common/TestFiles.h"
#include "tools/driver/Drive.h"
#include "ui/main/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

// The real program as a user meets it, each test in a fresh program folder with the
// encoder bridge beside it, driven from here through window messages.
class Program : public testing::Test {
protected:
    Program()
    {
        for (const char* name : {"Brumweld.exe", "mencoder.exe", "host-bridge.sh"}) {
            CopyFileA((ExecutableFolder() + "\\program\\" + name).c_str(), folder.File(name).c_str(), FALSE);
        }
        // The input most runs name: Run refuses one that is not there.
        WriteFileBytes(folder.File("in.avi"), "clip");
    }
    ~Program()
    {
        for (PROCESS_INFORMATION& p : started) {
            if (WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(p.hProcess, 1);
            // A script still running when its folder goes would never end, and would hold the
            // output of the whole test run open.
            if (DWORD script = FindChildProcess(p.dwProcessId, "cmd.exe")) {
                End(FindChildProcess(script, "mencoder.exe"));
                End(script);
            }
            CloseHandle(p.hProcess);
        }
    }

    static void End(DWORD processId)
    {
        HANDLE process = processId ? OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId) : nullptr;
        if (!process) return;
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }

    PROCESS_INFORMATION Start(const std::wstring& arguments)
    {
        return StartFrom(folder.File(L"Brumweld.exe"), arguments, Widen(folder.Path()));
    }
    PROCESS_INFORMATION Start(const std::string& arguments) { return Start(Widen(arguments)); }

    PROCESS_INFORMATION StartFrom(const std::wstring& program, const std::wstring& arguments, const std::wstring& current)
    {
        PROCESS_INFORMATION process;
        EXPECT_TRUE(StartDetached(L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments), process, current));
        started.push_back(process);
        return process;
    }
    PROCESS_INFORMATION StartFrom(const std::string& program, const std::string& arguments, const std::string& current)
    {
        return StartFrom(Widen(program), Widen(arguments), Widen(current));
    }

    // Sent as messages in their wide forms: the window-text functions do not reach another
    // process's controls, and the fields hold names of any script.
    static void SetField(HWND window, int id, const std::wstring& text)
    {
        SendDlgItemMessageW(window, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    static std::wstring Field(HWND window, int id)
    {
        wchar_t text[1024] = L"";
        SendDlgItemMessageW(window, id, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
        return text;
    }

    // Presses Run and waits until the run has ended; fails with the box's text when one came instead.
    static void RunToIdle(const PROCESS_INFORMATION& program, HWND window)
    {
        drive::Click(window, IDC_RUN);
        ASSERT_TRUE(drive::WaitEnabled(window, IDC_RUN, false, 10000))
            << "the window did not go busy: " << AnswerBox(program, window);
        ASSERT_TRUE(drive::WaitEnabled(window, IDC_RUN, true, 120000)) << "the run did not end";
    }

    // The script's console process of a running job, found while the program still lives.
    static HANDLE ScriptProcess(const PROCESS_INFORMATION& program)
    {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(50)) {
            DWORD script = FindChildProcess(program.dwProcessId, "cmd.exe");
            if (script) return OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, script);
        }
        return nullptr;
    }

    // The next box the program shows, a warning or a file box, answered with the command and
    // gone before the next step (a box still closing would be taken for the next one); its
    // text, "" for a file box, or "(no box)" when none came.
    static std::string AnswerBox(const PROCESS_INFORMATION& program, HWND mainWindow, int command = IDOK)
    {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(50)) {
            HWND box = drive::FindProcessWindow(program.dwProcessId, "#32770", mainWindow);
            if (!box) continue;
            std::string text = Narrow(Field(box, 0xFFFF));
            PostMessageA(box, WM_COMMAND, command, 0);
            for (DWORD closing = GetTickCount(); IsWindow(box) && GetTickCount() - closing < 10000;) Sleep(20);
            return text;
        }
        return "(no box)";
    }

    static DWORD ExitCode(const PROCESS_INFORMATION& process, DWORD milliseconds)
    {
        if (WaitForSingleObject(process.hProcess, milliseconds) != WAIT_OBJECT_0) return STILL_ACTIVE;
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process.hProcess, &code);
        return code;
    }

    // Runs one of the host programs beside this test and returns what it printed.
    static std::string Host(const std::string& commandLine)
    {
        return RunAndCapture(ExecutableFolder() + "\\" + commandLine);
    }

    static std::string Streams(const std::string& path)
    {
        return Host("ffprobe.exe -v error -show_entries stream=codec_name -of csv=p=0 \"" + path + "\"");
    }

    TempFolder folder;
    std::vector<PROCESS_INFORMATION> started;
};
