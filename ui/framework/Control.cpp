#include "ui/framework/Control.h"

#include "support/TextBuffer.h"

HWND Control::Bind(HWND dialog, int id)
{
    hwnd = GetDlgItem(dialog, id);
    return hwnd;
}

LRESULT Control::DefaultProc(int unhandled, LRESULT, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!prevProc) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return unhandled ? CallWindowProcA(prevProc, hwnd, msg, wParam, lParam) : 0;
}

LRESULT ComboBox::AddString(const char* text) { return Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }

LRESULT ComboBox::SetCurSel(int index) { return Send(CB_SETCURSEL, index, 0); }

void ComboBox::AddResourceList(UINT id, char separator)
{
    TextBuffer list(255);
    list.LoadResourceString(id);
    const char* end = list.Data() + list.Length();
    list.ReplaceChar(separator, '\0');
    for (const char* item = list.Data(); item < end && *item; item += lstrlenA(item) + 1) AddString(item);
}
