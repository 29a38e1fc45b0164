#include "ui/framework/Window.h"

#include "support/WideText.h"

LRESULT Window::Send(UINT msg, WPARAM wParam, LPARAM lParam) { return SendMessageW(hwnd, msg, wParam, lParam); }

bool Window::Destroy() { return DestroyWindow(hwnd) != FALSE; }

// ShowWindow answers whether the window was visible before, not whether it worked.
bool Window::Show(int command) { return ShowWindow(hwnd, command) != FALSE; }

bool Window::SetText(const wchar_t* text) { return SetWindowTextW(hwnd, text) != FALSE; }

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

void Window::EnableItem(int id, bool enable) { EnableWindow(GetDlgItem(hwnd, id), enable ? TRUE : FALSE); }

UINT Window::GetItemInt(int id, bool isSigned, bool* isNumber)
{
    BOOL translated = FALSE;
    UINT value = GetDlgItemInt(hwnd, id, &translated, isSigned ? TRUE : FALSE);
    if (isNumber) *isNumber = translated != FALSE;
    return value;
}

int Window::GetItemIntClamped(int id, bool isSigned, int min, int max)
{
    int value = static_cast<int>(GetItemInt(id, isSigned));
    if (value < min) return min;
    return value > max ? max : value;
}

bool Window::SetItemInt(int id, UINT value, bool isSigned)
{
    return SetDlgItemInt(hwnd, id, value, isSigned ? TRUE : FALSE) != FALSE;
}

UINT Window::GetItemText(int id, WideText& text)
{
    text.Reserve(GetItemTextLength(id));
    return GetDlgItemTextW(hwnd, id, text.Data(), text.BufferSize());
}

bool Window::SetItemText(int id, const wchar_t* text) { return SetDlgItemTextW(hwnd, id, text) != FALSE; }

int Window::GetItemTextLength(int id) { return GetWindowTextLengthW(GetDlgItem(hwnd, id)); }

bool Window::IsItemChecked(int id) { return IsDlgButtonChecked(hwnd, id) == BST_CHECKED; }

bool Window::CheckItem(int id, bool checked)
{
    return CheckDlgButton(hwnd, id, checked ? BST_CHECKED : BST_UNCHECKED) != FALSE;
}
