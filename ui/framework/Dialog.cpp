#include "ui/framework/Dialog.h"

#include "ui/framework/Boundary.h"
#include "ui/framework/Resources.h"

bool Dialog::CreateModeless(WORD templateId, HWND owner)
{
    return CreateDialogParamA(ModuleHandle(), MAKEINTRESOURCEA(templateId), owner, DialogProc,
                              reinterpret_cast<LPARAM>(static_cast<Window*>(this))) != nullptr;
}

LRESULT Dialog::DefaultProc(int unhandled, LRESULT result, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_INITDIALOG) return result;
    return unhandled ? FALSE : TRUE;
}

INT_PTR CALLBACK DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallAtBoundary([&]() -> INT_PTR {
        Window* object;
        if (msg == WM_INITDIALOG) {
            object = reinterpret_cast<Window*>(lParam);
            object->hwnd = window;
            object->SetLong(DWL_USER, static_cast<LONG>(lParam));
        } else {
            object = reinterpret_cast<Window*>(GetWindowLongA(window, DWL_USER));
            if (!object) return FALSE;
        }
        return object->WindowProc(msg, wParam, lParam);
    }, INT_PTR(FALSE));
}
