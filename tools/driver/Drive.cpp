#include "tools/driver/Drive.h"

namespace drive {

namespace {

struct Search {
    DWORD processId;
    const char* className;
    const char* caption;
    HWND except;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || window == search->except || !IsWindowVisible(window)) return TRUE;
    char text[256];
    if (search->className) {
        GetClassNameA(window, text, sizeof text);
        if (lstrcmpA(text, search->className) != 0) return TRUE;
    }
    if (search->caption) {
        GetWindowTextA(window, text, sizeof text);
        if (lstrcmpA(text, search->caption) != 0) return TRUE;
    }
    search->found = window;
    return FALSE;
}

}  // namespace

HWND FindProcessWindow(DWORD processId, const char* className, HWND except)
{
    Search search = {processId, className, nullptr, except, nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForMainWindow(DWORD processId, DWORD milliseconds)
{
    for (DWORD start = GetTickCount();; Sleep(50)) {
        Search search = {processId, "#32770", "Brumweld", nullptr, nullptr};
        EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
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
