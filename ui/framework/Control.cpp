#include "ui/framework/Control.h"

#include "support/WideText.h"
#include "ui/framework/Resources.h"

HWND Control::Bind(HWND dialog, int id)
{
    Attach(GetDlgItem(dialog, id));
    return GetHwnd();
}

LRESULT Control::DefaultProc(int unhandled, LRESULT, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!prevProc) return DefWindowProcW(GetHwnd(), msg, wParam, lParam);
    return unhandled ? CallWindowProcW(prevProc, GetHwnd(), msg, wParam, lParam) : 0;
}

LRESULT ComboBox::AddString(const wchar_t* text) { return Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }

LRESULT ComboBox::SetCurSel(int index) { return Send(CB_SETCURSEL, index, 0); }

void ComboBox::AddResourceList(UINT id, wchar_t separator)
{
    WideText list;
    LoadResourceText(id, list);
    const wchar_t* end = list.Data() + list.Length();
    list.ReplaceChar(separator, L'\0');
    for (const wchar_t* item = list.Data(); item < end && *item; item += lstrlenW(item) + 1) AddString(item);
}
