#pragma once

#include <windows.h>

#include <functional>

// Dispatches every message waiting for this thread.
void Pump();
// Pumps this thread's messages until the condition holds; false when the time ran out first.
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds);
