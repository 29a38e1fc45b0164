#pragma once

#include <windows.h>

#include <string>

// Drives a running Brumweld from another process through window messages, as a user's
// clicks and typing would.
namespace drive {

// The program's main window, once the process has shown it; null after the time is up.
HWND WaitForMainWindow(DWORD processId, DWORD milliseconds);
// Any visible top-level window of the process with this class and caption other than the main window.
HWND FindProcessWindow(DWORD processId, const char* className, HWND except);

std::string GetText(HWND dialog, int id);
void SetText(HWND dialog, int id, const std::string& text);
void Click(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
// Waits until the control's enabled state is the wanted one.
bool WaitEnabled(HWND dialog, int id, bool enabled, DWORD milliseconds);

}  // namespace drive
