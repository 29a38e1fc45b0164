#pragma once

#include "ui/framework/Placement.h"

#include <windows.h>

class WideText;
struct VirtualScreen;
struct WindowSize;

// A window's object: its handle, and one typed virtual handler per window message behind one
// dispatcher. The object owns nothing: destroying it never destroys its window. The handle is
// the object's own, given by Attach (the dialog procedure gives it at WM_INITDIALOG) and
// cleared when the window sends its last message, WM_NCDESTROY.
class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Cracks the message into one handler call; the result goes through DefaultProc.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefaultProc(int unhandled, LRESULT result, UINT msg, WPARAM wParam, LPARAM lParam);
    // Nonzero consumes the message: WindowProc returns the result at once.
    virtual int PreDispatch(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Handlers: nonzero means handled. A handler with a result pointer may set the value the
    // sender receives; it starts at 0. A whole wParam or lParam arrives as UINT_PTR, so handles
    // and pointers keep every bit.
    virtual int OnInitDialog(LRESULT* result);
    virtual int OnNcCreate(UINT_PTR createStruct);
    virtual int OnCreate(UINT_PTR createStruct);
    virtual int OnClose();
    virtual int OnNcDestroy();
    virtual int OnDestroy();
    virtual int OnEndSession(UINT_PTR ending);
    virtual int OnInitMenu(UINT_PTR menu);
    virtual int OnInitMenuPopup(UINT_PTR menu, UINT position, UINT windowMenu);
    virtual int OnMenuSelect(UINT item, UINT flags, UINT_PTR menu);
    virtual int OnContextMenu(UINT_PTR window, UINT x, UINT y);
    virtual int OnSysChar(UINT_PTR character, UINT_PTR keyData);
    virtual int OnSysKeyUp(UINT_PTR key, UINT_PTR keyData);
    virtual int OnSysKeyDown(UINT_PTR key, UINT_PTR keyData);
    virtual int OnSysCommand(UINT_PTR command, UINT x, UINT y);
    virtual int OnWindowPosChanging(UINT_PTR windowPos);
    virtual int OnWindowPosChanged(UINT_PTR windowPos);
    virtual int OnDropFiles(UINT_PTR drop);
    virtual int OnTimer(UINT_PTR timerId);
    virtual int OnCommand(UINT id, UINT code, UINT_PTR control);
    virtual int OnNcActivate(UINT_PTR active);
    virtual int OnActivate(UINT state, UINT_PTR other, UINT minimized);
    virtual int OnActivateApp(UINT_PTR active, UINT_PTR threadId);
    virtual int OnChildActivate();
    virtual int OnEnable(UINT_PTR enabled);
    virtual int OnEnterIdle(UINT_PTR source, UINT_PTR window);
    virtual int OnKillFocus(UINT_PTR gaining);
    virtual int OnSetFocus(UINT_PTR losing);
    virtual int OnShowWindow(UINT_PTR shown, UINT_PTR status);
    virtual int OnMouseActivate(UINT_PTR topLevel, UINT hitTest, UINT mouseMessage, LRESULT* result);
    virtual int OnNcMouseMove(UINT_PTR hitTest, UINT x, UINT y);
    virtual int OnNcMButtonDblClk(UINT_PTR hitTest, UINT x, UINT y);
    virtual int OnNcMButtonUp(UINT_PTR hitTest, UINT x, UINT y);
    virtual int OnNcMButtonDown(UINT_PTR hitTest, UINT x, UINT y);
    virtual int OnNcLButtonDblClk(UINT_PTR hitTest, UINT x, UINT y);
    virtual int OnNcLButtonUp(UINT_PTR hitTest, UINT x, UINT y);
    virtual int OnNcLButtonDown(UINT_PTR hitTest, UINT x, UINT y);
    virtual int OnNcRButtonDblClk(UINT_PTR hitTest, UINT x, UINT y);
    virtual int OnNcRButtonUp(UINT_PTR hitTest, UINT x, UINT y);
    virtual int OnNcRButtonDown(UINT_PTR hitTest, UINT x, UINT y);
    virtual int OnMouseMove(UINT_PTR keys, UINT x, UINT y);
    virtual int OnMButtonDblClk(UINT_PTR keys, UINT x, UINT y);
    virtual int OnMButtonUp(UINT_PTR keys, UINT x, UINT y);
    virtual int OnMButtonDown(UINT_PTR keys, UINT x, UINT y);
    virtual int OnLButtonDblClk(UINT_PTR keys, UINT x, UINT y);
    virtual int OnLButtonUp(UINT_PTR keys, UINT x, UINT y);
    virtual int OnLButtonDown(UINT_PTR keys, UINT x, UINT y);
    virtual int OnRButtonDblClk(UINT_PTR keys, UINT x, UINT y);
    virtual int OnRButtonUp(UINT_PTR keys, UINT x, UINT y);
    virtual int OnRButtonDown(UINT_PTR keys, UINT x, UINT y);
    virtual int OnSetCursor(UINT_PTR window, UINT hitTest, UINT mouseMessage);
    virtual int OnMouseWheel(UINT keys, UINT delta, UINT x, UINT y);
    virtual int OnCaptureChanged(UINT_PTR gaining);
    virtual int OnMouseLeave();
    virtual int OnMouseHover();
    virtual int OnNcHitTest(UINT x, UINT y, LRESULT* result);
    virtual int OnKeyUp(UINT_PTR key, UINT_PTR keyData);
    virtual int OnKeyDown(UINT_PTR key, UINT_PTR keyData);
    virtual int OnChar(UINT_PTR character, UINT_PTR keyData);
    virtual int OnHotKey(UINT_PTR hotKeyId, UINT modifiers, UINT key);
    virtual int OnNcPaint();
    virtual int OnPaint();
    virtual int OnEraseBkgnd(UINT_PTR deviceContext, LRESULT* result);
    virtual int OnMeasureItem(UINT_PTR measureItem);
    virtual int OnDrawItem(UINT_PTR drawItem);
    virtual int OnVScroll(UINT request, UINT position, UINT_PTR scrollBar);
    virtual int OnHScroll(UINT request, UINT position, UINT_PTR scrollBar);
    virtual int OnSize(UINT_PTR sizeType, UINT width, UINT height);
    virtual int OnSizing(UINT_PTR edge, UINT_PTR rect);
    virtual int OnMove(UINT x, UINT y);
    virtual int OnMoving(UINT_PTR edge, UINT_PTR rect);
    virtual int OnNotify(UINT_PTR controlId, UINT_PTR header, LRESULT* result);
    virtual int OnParentNotify(UINT event, UINT childId, UINT_PTR child);
    // Every message from WM_USER to 0x7FFF.
    virtual int OnUserMessage(UINT msg, UINT_PTR wParam, UINT_PTR lParam);

    HWND GetHwnd() const { return hwnd; }
    // Binds the object to a window made elsewhere, which it then speaks for without owning it.
    void Attach(HWND window) { hwnd = window; }
    LONG_PTR SetLong(int index, LONG_PTR value);

    // The window itself.
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam);
    bool Destroy();
    bool Show(int command);
    bool SetText(const wchar_t* text);
    int GetText(WideText& text);
    HICON SetIcon(int big, HICON icon);
    int Warn(const wchar_t* text);

    // Child controls of the window by identifier.
    void EnableItem(int id, bool enable);
    // The text read as a number; isNumber, when given, tells whether it was one (else 0 comes back).
    UINT GetItemInt(int id, bool isSigned, bool* isNumber = nullptr);
    int GetItemIntClamped(int id, bool isSigned, int min, int max);
    bool SetItemInt(int id, UINT value, bool isSigned);
    // The whole text, the buffer grown to hold it.
    UINT GetItemText(int id, WideText& text);
    bool SetItemText(int id, const wchar_t* text);
    int GetItemTextLength(int id);
    bool IsItemChecked(int id);
    bool CheckItem(int id, bool checked);

    // Placement on the screen.
    void GetVirtualScreen(VirtualScreen& screen);
    void GetSize(WindowSize& size);
    bool GetNormalPosition(WindowPosition& position);
    bool MoveTo(int x, int y);
    void Center(HWND other);
    void KeepOnScreen(WINDOWPOS* record);

private:
    HWND hwnd = nullptr;
    // From GetWindowPlacement's normal rectangle to the screen, as last measured: none until then.
    WindowPosition placementOffset = {};
    int Dispatch(UINT msg, UINT_PTR wParam, UINT_PTR lParam, LRESULT* result);
};
