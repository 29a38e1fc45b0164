#include "tools/driver/Drive.h"

namespace drive {

namespace {

struct Walk {
    DWORD processId;
    const std::function<bool(HWND)>* visit;
};

BOOL CALLBACK VisitProcessWindow(HWND window, LPARAM parameter)
{
    auto* walk = reinterpret_cast<Walk*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner != walk->processId || (*walk->visit)(window) ? TRUE : FALSE;
}

BOOL CALLBACK CountChild(HWND, LPARAM count)
{
    ++*reinterpret_cast<long*>(count);
    return TRUE;
}

// The visible top-level window of the process with this class and caption (either may be null).
HWND Find(DWORD processId, const char* className, const char* caption, HWND except)
{
    HWND found = nullptr;
    ForEachProcessWindow(processId, [&](HWND window) {
        if (window == except || !IsWindowVisible(window)) return true;
        char text[256];
        if (className && (GetClassNameA(window, text, sizeof text), lstrcmpA(text, className) != 0)) return true;
        if (caption && (GetWindowTextA(window, text, sizeof text), lstrcmpA(text, caption) != 0)) return true;
        found = window;
        return false;
    });
    return found;
}

}  // namespace

void ForEachProcessWindow(DWORD processId, const std::function<bool(HWND)>& visit)
{
    Walk walk = {processId, &visit};
    EnumWindows(VisitProcessWindow, reinterpret_cast<LPARAM>(&walk));
}

long CountWindows(DWORD processId)
{
    long count = 0;
    ForEachProcessWindow(processId, [&](HWND window) {
        ++count;
        EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&count));
        return true;
    });
    return count;
}

HWND FindProcessWindow(DWORD processId, const char* className, HWND except)
{
    return Find(processId, className, nullptr, except);
}

HWND WaitForMainWindow(DWORD processId, DWORD milliseconds)
{
    for (DWORD start = GetTickCount();; Sleep(50)) {
        if (HWND found = Find(processId, "#32770", "Brumweld", nullptr)) return found;
        if (GetTickCount() - start >= milliseconds) return nullptr;
    }
}

std::string GetText(HWND dialog, int id)
{
    char text[2048] = "";
    SendDlgItemMessageA(dialog, id, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

void SetText(HWND dialog, int id, const std::string& text)
{
    SendDlgItemMessageA(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Click(HWND dialog, int id)
{
    // A user cannot click a disabled button.
    if (!IsEnabled(dialog, id)) return;
    // Posted: the click may open a modal box that would hold a sent message.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool IsEnabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

bool WaitEnabled(HWND dialog, int id, bool enabled, DWORD milliseconds)
{
    for (DWORD start = GetTickCount();; Sleep(50)) {
        if (IsEnabled(dialog, id) == enabled) return true;
        if (!IsWindow(dialog) || GetTickCount() - start >= milliseconds) return false;
    }
}

}  // namespace drive
