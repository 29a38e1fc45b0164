#include "ui/framework/Window.h"

#include "ui/framework/Boundary.h"

LRESULT Window::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallAtBoundary([&]() -> LRESULT {
        LRESULT result = 0;
        if (PreDispatch(msg, wParam, lParam, &result)) return result;
        int handled = Dispatch(msg, wParam, static_cast<UINT_PTR>(lParam), &result);
        LRESULT answer = DefaultProc(handled ? 0 : 1, result, msg, wParam, lParam);
        // The window's last message: the handle names nothing from now on. Destruction hides the
        // window first, so one sent by another program to the shown window is not its end.
        if (msg == WM_NCDESTROY && !IsWindowVisible(hwnd)) hwnd = nullptr;
        return answer;
    }, LRESULT(0));
}

int Window::Dispatch(UINT msg, UINT_PTR w, UINT_PTR l, LRESULT* result)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(result);
    case WM_NCCREATE: return OnNcCreate(l);
    case WM_CREATE: return OnCreate(l);
    case WM_CLOSE: return OnClose();
    case WM_NCDESTROY: return OnNcDestroy();
    case WM_DESTROY: return OnDestroy();
    case WM_ENDSESSION: return OnEndSession(w);
    case WM_INITMENU: return OnInitMenu(w);
    case WM_INITMENUPOPUP: return OnInitMenuPopup(w, LOWORD(l), HIWORD(l));
    case WM_MENUSELECT: return OnMenuSelect(LOWORD(w), HIWORD(w), l);
    case WM_CONTEXTMENU: return OnContextMenu(w, LOWORD(l), HIWORD(l));
    case WM_SYSCHAR: return OnSysChar(w, l);
    case WM_SYSKEYUP: return OnSysKeyUp(w, l);
    case WM_SYSKEYDOWN: return OnSysKeyDown(w, l);
    case WM_SYSCOMMAND: return OnSysCommand(w, LOWORD(l), HIWORD(l));
    case WM_WINDOWPOSCHANGING: return OnWindowPosChanging(l);
    case WM_WINDOWPOSCHANGED: return OnWindowPosChanged(l);
    case WM_DROPFILES: return OnDropFiles(w);
    case WM_TIMER: return OnTimer(w);
    case WM_COMMAND: return OnCommand(LOWORD(w), HIWORD(w), l);
    case WM_NCACTIVATE: return OnNcActivate(w);
    case WM_ACTIVATE: return OnActivate(LOWORD(w), l, HIWORD(w));
    case WM_ACTIVATEAPP: return OnActivateApp(w, l);
    case WM_CHILDACTIVATE: return OnChildActivate();
    case WM_ENABLE: return OnEnable(w);
    case WM_ENTERIDLE: return OnEnterIdle(w, l);
    case WM_KILLFOCUS: return OnKillFocus(w);
    case WM_SETFOCUS: return OnSetFocus(w);
    case WM_SHOWWINDOW: return OnShowWindow(w, l);
    case WM_MOUSEACTIVATE: return OnMouseActivate(w, LOWORD(l), HIWORD(l), result);
    case WM_NCMOUSEMOVE: return OnNcMouseMove(w, LOWORD(l), HIWORD(l));
    case WM_NCMBUTTONDBLCLK: return OnNcMButtonDblClk(w, LOWORD(l), HIWORD(l));
    case WM_NCMBUTTONUP: return OnNcMButtonUp(w, LOWORD(l), HIWORD(l));
    case WM_NCMBUTTONDOWN: return OnNcMButtonDown(w, LOWORD(l), HIWORD(l));
    case WM_NCLBUTTONDBLCLK: return OnNcLButtonDblClk(w, LOWORD(l), HIWORD(l));
    case WM_NCLBUTTONUP: return OnNcLButtonUp(w, LOWORD(l), HIWORD(l));
    case WM_NCLBUTTONDOWN: return OnNcLButtonDown(w, LOWORD(l), HIWORD(l));
    case WM_NCRBUTTONDBLCLK: return OnNcRButtonDblClk(w, LOWORD(l), HIWORD(l));
    case WM_NCRBUTTONUP: return OnNcRButtonUp(w, LOWORD(l), HIWORD(l));
    case WM_NCRBUTTONDOWN: return OnNcRButtonDown(w, LOWORD(l), HIWORD(l));
    case WM_MOUSEMOVE: return OnMouseMove(w, LOWORD(l), HIWORD(l));
    case WM_MBUTTONDBLCLK: return OnMButtonDblClk(w, LOWORD(l), HIWORD(l));
    case WM_MBUTTONUP: return OnMButtonUp(w, LOWORD(l), HIWORD(l));
    case WM_MBUTTONDOWN: return OnMButtonDown(w, LOWORD(l), HIWORD(l));
    case WM_LBUTTONDBLCLK: return OnLButtonDblClk(w, LOWORD(l), HIWORD(l));
    case WM_LBUTTONUP: return OnLButtonUp(w, LOWORD(l), HIWORD(l));
    case WM_LBUTTONDOWN: return OnLButtonDown(w, LOWORD(l), HIWORD(l));
    case WM_RBUTTONDBLCLK: return OnRButtonDblClk(w, LOWORD(l), HIWORD(l));
    case WM_RBUTTONUP: return OnRButtonUp(w, LOWORD(l), HIWORD(l));
    case WM_RBUTTONDOWN: return OnRButtonDown(w, LOWORD(l), HIWORD(l));
    case WM_SETCURSOR: return OnSetCursor(w, LOWORD(l), HIWORD(l));
    case WM_MOUSEWHEEL: return OnMouseWheel(LOWORD(w), HIWORD(w), LOWORD(l), HIWORD(l));
    case WM_CAPTURECHANGED: return OnCaptureChanged(l);
    case WM_MOUSELEAVE: return OnMouseLeave();
    case WM_MOUSEHOVER: return OnMouseHover();
    case WM_NCHITTEST: return OnNcHitTest(LOWORD(l), HIWORD(l), result);
    case WM_KEYUP: return OnKeyUp(w, l);
    case WM_KEYDOWN: return OnKeyDown(w, l);
    case WM_CHAR: return OnChar(w, l);
    case WM_HOTKEY: return OnHotKey(w, LOWORD(l), HIWORD(l));
    case WM_NCPAINT: return OnNcPaint();
    case WM_PAINT: return OnPaint();
    case WM_ERASEBKGND: return OnEraseBkgnd(w, result);
    case WM_MEASUREITEM: return OnMeasureItem(l);
    case WM_DRAWITEM: return OnDrawItem(l);
    case WM_VSCROLL: return OnVScroll(LOWORD(w), HIWORD(w), l);
    case WM_HSCROLL: return OnHScroll(LOWORD(w), HIWORD(w), l);
    case WM_SIZE: return OnSize(w, LOWORD(l), HIWORD(l));
    case WM_SIZING: return OnSizing(w, l);
    case WM_MOVE: return OnMove(LOWORD(l), HIWORD(l));
    case WM_MOVING: return OnMoving(w, l);
    case WM_NOTIFY: return OnNotify(w, l, result);
    case WM_PARENTNOTIFY: return OnParentNotify(LOWORD(w), HIWORD(w), l);
    default: return msg >= WM_USER && msg <= 0x7FFF ? OnUserMessage(msg, w, l) : 0;
    }
}

LRESULT Window::DefaultProc(int unhandled, LRESULT result, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return unhandled ? DefWindowProcW(hwnd, msg, wParam, lParam) : result;
}

int Window::PreDispatch(UINT, WPARAM, LPARAM, LRESULT*) { return 0; }

int Window::OnInitDialog(LRESULT*) { return 0; }
int Window::OnNcCreate(UINT_PTR) { return 0; }
int Window::OnCreate(UINT_PTR) { return 0; }
int Window::OnClose() { return 0; }
int Window::OnNcDestroy() { return 0; }
int Window::OnDestroy() { return 1; }
int Window::OnEndSession(UINT_PTR) { return 0; }
int Window::OnInitMenu(UINT_PTR) { return 0; }
int Window::OnInitMenuPopup(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnMenuSelect(UINT, UINT, UINT_PTR) { return 0; }
int Window::OnContextMenu(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnSysChar(UINT_PTR, UINT_PTR) { return 0; }
int Window::OnSysKeyUp(UINT_PTR, UINT_PTR) { return 0; }
int Window::OnSysKeyDown(UINT_PTR, UINT_PTR) { return 0; }
int Window::OnSysCommand(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnWindowPosChanging(UINT_PTR) { return 0; }
int Window::OnWindowPosChanged(UINT_PTR) { return 0; }
int Window::OnDropFiles(UINT_PTR) { return 0; }
int Window::OnTimer(UINT_PTR) { return 0; }
int Window::OnCommand(UINT, UINT, UINT_PTR) { return 0; }
int Window::OnNcActivate(UINT_PTR) { return 0; }
int Window::OnActivate(UINT, UINT_PTR, UINT) { return 0; }
int Window::OnActivateApp(UINT_PTR, UINT_PTR) { return 0; }
int Window::OnChildActivate() { return 0; }
int Window::OnEnable(UINT_PTR) { return 0; }
int Window::OnEnterIdle(UINT_PTR, UINT_PTR) { return 0; }
int Window::OnKillFocus(UINT_PTR) { return 0; }
int Window::OnSetFocus(UINT_PTR) { return 0; }
int Window::OnShowWindow(UINT_PTR, UINT_PTR) { return 0; }
int Window::OnMouseActivate(UINT_PTR, UINT, UINT, LRESULT*) { return 0; }
int Window::OnNcMouseMove(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnNcMButtonDblClk(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnNcMButtonUp(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnNcMButtonDown(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnNcLButtonDblClk(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnNcLButtonUp(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnNcLButtonDown(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnNcRButtonDblClk(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnNcRButtonUp(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnNcRButtonDown(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnMouseMove(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnMButtonDblClk(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnMButtonUp(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnMButtonDown(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnLButtonDblClk(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnLButtonUp(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnLButtonDown(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnRButtonDblClk(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnRButtonUp(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnRButtonDown(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnSetCursor(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnMouseWheel(UINT, UINT, UINT, UINT) { return 0; }
int Window::OnCaptureChanged(UINT_PTR) { return 0; }
int Window::OnMouseLeave() { return 0; }
int Window::OnMouseHover() { return 0; }
int Window::OnNcHitTest(UINT, UINT, LRESULT*) { return 0; }
int Window::OnKeyUp(UINT_PTR, UINT_PTR) { return 0; }
int Window::OnKeyDown(UINT_PTR, UINT_PTR) { return 0; }
int Window::OnChar(UINT_PTR, UINT_PTR) { return 0; }
int Window::OnHotKey(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnNcPaint() { return 0; }
int Window::OnPaint() { return 0; }
int Window::OnEraseBkgnd(UINT_PTR, LRESULT*) { return 0; }
int Window::OnMeasureItem(UINT_PTR) { return 0; }
int Window::OnDrawItem(UINT_PTR) { return 0; }
int Window::OnVScroll(UINT, UINT, UINT_PTR) { return 0; }
int Window::OnHScroll(UINT, UINT, UINT_PTR) { return 0; }
int Window::OnSize(UINT_PTR, UINT, UINT) { return 0; }
int Window::OnSizing(UINT_PTR, UINT_PTR) { return 0; }
int Window::OnMove(UINT, UINT) { return 0; }
int Window::OnMoving(UINT_PTR, UINT_PTR) { return 0; }
int Window::OnNotify(UINT_PTR, UINT_PTR, LRESULT*) { return 0; }
int Window::OnParentNotify(UINT, UINT, UINT_PTR) { return 0; }
int Window::OnUserMessage(UINT, UINT_PTR, UINT_PTR) { return 0; }

LONG_PTR Window::SetLong(int index, LONG_PTR value)
{
    return SetWindowLongPtrW(hwnd, index, value);
}
