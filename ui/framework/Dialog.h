#pragma once

#include "ui/framework/Window.h"

// A window made from a dialog template and bound to its object by DialogProc.
class Dialog : public Window {
public:
    // The object learns its handle from WM_INITDIALOG, before this returns.
    bool CreateModeless(WORD templateId, HWND owner);

    // The dialog manager sees the handled flag, and the handler's result through DWLP_MSGRESULT;
    // WM_INITDIALOG's result is returned as it is.
    LRESULT DefaultProc(int unhandled, LRESULT result, UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// The one dialog procedure: binds the object given at creation on the first WM_INITDIALOG, then
// dispatches every message, later WM_INITDIALOGs included, to it.
INT_PTR CALLBACK DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
