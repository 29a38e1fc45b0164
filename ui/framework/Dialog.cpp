#include "ui/framework/Dialog.h"

#include "ui/framework/Boundary.h"
#include "ui/framework/Resources.h"

bool Dialog::CreateModeless(WORD templateId, HWND owner)
{
    // Made as a Unicode window, so its edit fields keep any name typed or pasted into them;
    // an ANSI dialog's edits would keep only what the code page holds.
    return CreateDialogParamW(ModuleHandle(), MAKEINTRESOURCEW(templateId), owner, DialogProc,
                              reinterpret_cast<LPARAM>(static_cast<Window*>(this))) != nullptr;
}

LRESULT Dialog::DefaultProc(int unhandled, LRESULT result, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_INITDIALOG) return result;
    if (unhandled) return FALSE;
    // The dialog manager gives the sender what DWLP_MSGRESULT holds.
    SetLong(DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallAtBoundary([&]() -> INT_PTR {
        auto* object = reinterpret_cast<Window*>(GetWindowLongPtrW(window, DWLP_USER));
        // Only the first WM_INITDIALOG binds: any process can send another, with any number in lParam.
        if (!object && msg == WM_INITDIALOG && lParam) {
            object = reinterpret_cast<Window*>(lParam);
            object->Attach(window);
            object->SetLong(DWLP_USER, lParam);
        }
        if (!object) return FALSE;
        return object->WindowProc(msg, wParam, lParam);
    }, INT_PTR(FALSE));
}
