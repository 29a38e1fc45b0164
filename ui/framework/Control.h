#pragma once

#include "ui/framework/Window.h"

// A child control of a dialog, used through its handle.
class Control : public Window {
public:
    HWND Bind(HWND dialog, int id);

    LRESULT DefaultProc(int unhandled, LRESULT result, UINT msg, WPARAM wParam, LPARAM lParam) override;

    WNDPROC prevProc = nullptr;
};

class ComboBox : public Control {
public:
    LRESULT AddString(const wchar_t* text);
    LRESULT SetCurSel(int index);
    // Adds the items of a string-table entry split at the separator; an empty item ends the list.
    void AddResourceList(UINT id, wchar_t separator);
};
