#include "ui/framework/Window.h"

#include "support/WideText.h"

LRESULT Window::Send(UINT msg, WPARAM wParam, LPARAM lParam) { return SendMessageW(hwnd, msg, wParam, lParam); }

BOOL Window::Destroy() { return DestroyWindow(hwnd); }

BOOL Window::Show(int command) { return ShowWindow(hwnd, command); }

BOOL Window::SetText(const wchar_t* text) { return SetWindowTextW(hwnd, text); }

int Window::GetText(WideText& text)
{
    text.Reserve(GetWindowTextLengthW(hwnd));
    return GetWindowTextW(hwnd, text.Data(), text.BufferSize());
}

HICON Window::SetIcon(int big, HICON icon)
{
    return reinterpret_cast<HICON>(Send(WM_SETICON, big, reinterpret_cast<LPARAM>(icon)));
}

int Window::Warn(const wchar_t* text)
{
    return MessageBoxW(nullptr, text, nullptr, MB_OK | MB_ICONWARNING | MB_TASKMODAL | MB_TOPMOST);
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

UINT Window::GetItemText(int id, WideText& text)
{
    text.Reserve(GetItemTextLength(id));
    return GetDlgItemTextW(hwnd, id, text.Data(), text.BufferSize());
}

BOOL Window::SetItemText(int id, const wchar_t* text) { return SetDlgItemTextW(hwnd, id, text); }

int Window::GetItemTextLength(int id) { return GetWindowTextLengthW(GetDlgItem(hwnd, id)); }

UINT Window::IsItemChecked(int id) { return IsDlgButtonChecked(hwnd, id); }

BOOL Window::CheckItem(int id, UINT state) { return CheckDlgButton(hwnd, id, state); }
