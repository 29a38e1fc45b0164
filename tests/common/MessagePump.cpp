#include "common/MessagePump.h"

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(20)) {
        if (GetTickCount() - start > milliseconds) return false;
        Pump();
    }
    return true;
}
