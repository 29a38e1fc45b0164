#include "ui/framework/Window.h"

#include "support/TextBuffer.h"

LRESULT Window::Send(UINT msg, WPARAM wParam, LPARAM lParam) { return SendMessageA(hwnd, msg, wParam, lParam); }

BOOL Window::Destroy() { return DestroyWindow(hwnd); }

BOOL Window::Show(int command) { return ShowWindow(hwnd, command); }

BOOL Window::SetText(const char* text) { return SetWindowTextA(hwnd, text); }

int Window::GetText(TextBuffer& text)
{
    text.Reserve(GetWindowTextLengthA(hwnd));
    return GetWindowTextA(hwnd, text.Data(), text.BufferSize());
}

HICON Window::SetIcon(int big, HICON icon)
{
    return reinterpret_cast<HICON>(Send(WM_SETICON, big, reinterpret_cast<LPARAM>(icon)));
}

BOOL Window::GetRect(RECT& rect) { return GetWindowRect(hwnd, &rect); }

int Window::Warn(const char* text)
{
    return MessageBoxA(nullptr, text, nullptr, MB_OK | MB_ICONWARNING | MB_TASKMODAL | MB_TOPMOST);
}

void Window::EnableItem(int id, BOOL enable) { EnableWindow(GetDlgItem(hwnd, id), enable); }

UINT Window::GetItemInt(int id, BOOL isSigned) { return GetDlgItemInt(hwnd, id, nullptr, isSigned); }

int Window::GetItemIntClamped(int id, BOOL isSigned, int min, int max)
{
    int value = static_cast<int>(GetItemInt(id, isSigned));
    if (value < min) return min;
    return value > max ? max : value;
}

BOOL Window::SetItemInt(int id, UINT value, BOOL isSigned) { return SetDlgItemInt(hwnd, id, value, isSigned); }

UINT Window::GetItemText(int id, TextBuffer& text) { return GetDlgItemTextA(hwnd, id, text.Data(), text.BufferSize()); }

UINT Window::GetItemText(int id, char* text, int size) { return GetDlgItemTextA(hwnd, id, text, size); }

BOOL Window::SetItemText(int id, const char* text) { return SetDlgItemTextA(hwnd, id, text); }

int Window::GetItemTextLength(int id) { return GetWindowTextLengthA(GetDlgItem(hwnd, id)); }

UINT Window::IsItemChecked(int id) { return IsDlgButtonChecked(hwnd, id); }

BOOL Window::CheckItem(int id, UINT state) { return CheckDlgButton(hwnd, id, state); }
