#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Drives a running Brumweld from another process through window messages, as a user's
// clicks and typing would.
namespace drive {

// The program's main window, once the process has shown it; null after the time is up.
HWND WaitForMainWindow(DWORD processId, DWORD milliseconds);
// Any visible top-level window of the process with this class and caption other than the main window.
HWND FindProcessWindow(DWORD processId, const char* className, HWND except);

// Calls visit with each top-level window of the process, visible or not, until it answers false.
void ForEachProcessWindow(DWORD processId, const std::function<bool(HWND)>& visit);
// The process's windows, top-level and child, visible or not.
long CountWindows(DWORD processId);

std::string GetText(HWND dialog, int id);
void SetText(HWND dialog, int id, const std::string& text);
void Click(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
// Waits until the control's enabled state is the wanted one.
bool WaitEnabled(HWND dialog, int id, bool enabled, DWORD milliseconds);

}  // namespace drive
