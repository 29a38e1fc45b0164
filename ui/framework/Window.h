#pragma once

#include <windows.h>

class TextBuffer;
struct VirtualScreen;
struct WindowSize;
struct WindowPosition;

// A window handle and one typed virtual handler per window message behind one dispatcher.
// The object owns nothing: destroying it never destroys its window.
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

    // Handlers: nonzero means handled; a result pointer points at the message's result.
    virtual int OnInitDialog(LRESULT* result);
    virtual int OnNcCreate(UINT createStruct);
    virtual int OnCreate(UINT createStruct);
    virtual int OnClose();
    virtual int OnNcDestroy();
    virtual int OnDestroy();
    virtual int OnEndSession(UINT ending);
    virtual int OnInitMenu(UINT menu);
    virtual int OnInitMenuPopup(UINT menu, UINT position, UINT windowMenu);
    virtual int OnMenuSelect(UINT item, UINT flags, UINT menu);
    virtual int OnContextMenu(UINT window, UINT x, UINT y);
    virtual int OnSysChar(UINT character, UINT keyData);
    virtual int OnSysKeyUp(UINT key, UINT keyData);
    virtual int OnSysKeyDown(UINT key, UINT keyData);
    virtual int OnSysCommand(UINT command, UINT x, UINT y);
    virtual int OnWindowPosChanging(UINT windowPos);
    virtual int OnWindowPosChanged(UINT windowPos);
    virtual int OnDropFiles(UINT drop);
    virtual int OnTimer(UINT timerId);
    virtual int OnCommand(UINT id, UINT code, UINT control);
    virtual int OnNcActivate(UINT active);
    virtual int OnActivate(UINT state, UINT other, UINT minimized);
    virtual int OnActivateApp(UINT active, UINT threadId);
    virtual int OnChildActivate();
    virtual int OnEnable(UINT enabled);
    virtual int OnEnterIdle(UINT source, UINT window);
    virtual int OnKillFocus(UINT gaining);
    virtual int OnSetFocus(UINT losing);
    virtual int OnShowWindow(UINT shown, UINT status);
    virtual int OnMouseActivate(UINT topLevel, UINT hitTest, UINT mouseMessage, LRESULT* result);
    virtual int OnNcMouseMove(UINT hitTest, UINT x, UINT y);
    virtual int OnNcMButtonDblClk(UINT hitTest, UINT x, UINT y);
    virtual int OnNcMButtonUp(UINT hitTest, UINT x, UINT y);
    virtual int OnNcMButtonDown(UINT hitTest, UINT x, UINT y);
    virtual int OnNcLButtonDblClk(UINT hitTest, UINT x, UINT y);
    virtual int OnNcLButtonUp(UINT hitTest, UINT x, UINT y);
    virtual int OnNcLButtonDown(UINT hitTest, UINT x, UINT y);
    virtual int OnNcRButtonDblClk(UINT hitTest, UINT x, UINT y);
    virtual int OnNcRButtonUp(UINT hitTest, UINT x, UINT y);
    virtual int OnNcRButtonDown(UINT hitTest, UINT x, UINT y);
    virtual int OnMouseMove(UINT keys, UINT x, UINT y);
    virtual int OnMButtonDblClk(UINT keys, UINT x, UINT y);
    virtual int OnMButtonUp(UINT keys, UINT x, UINT y);
    virtual int OnMButtonDown(UINT keys, UINT x, UINT y);
    virtual int OnLButtonDblClk(UINT keys, UINT x, UINT y);
    virtual int OnLButtonUp(UINT keys, UINT x, UINT y);
    virtual int OnLButtonDown(UINT keys, UINT x, UINT y);
    virtual int OnRButtonDblClk(UINT keys, UINT x, UINT y);
    virtual int OnRButtonUp(UINT keys, UINT x, UINT y);
    virtual int OnRButtonDown(UINT keys, UINT x, UINT y);
    virtual int OnSetCursor(UINT window, UINT hitTest, UINT mouseMessage);
    virtual int OnMouseWheel(UINT keys, UINT delta, UINT x, UINT y);
    virtual int OnCaptureChanged(UINT gaining);
    virtual int OnMouseLeave();
    virtual int OnMouseHover();
    virtual int OnNcHitTest(UINT x, UINT y, LRESULT* result);
    virtual int OnKeyUp(UINT key, UINT keyData);
    virtual int OnKeyDown(UINT key, UINT keyData);
    virtual int OnChar(UINT character, UINT keyData);
    virtual int OnHotKey(UINT hotKeyId, UINT modifiers, UINT key);
    virtual int OnNcPaint();
    virtual int OnPaint();
    virtual int OnEraseBkgnd(UINT deviceContext, LRESULT* result);
    virtual int OnMeasureItem(UINT measureItem);
    virtual int OnDrawItem(UINT drawItem);
    virtual int OnVScroll(UINT request, UINT position, UINT scrollBar);
    virtual int OnHScroll(UINT request, UINT position, UINT scrollBar);
    virtual int OnSize(UINT sizeType, UINT width, UINT height);
    virtual int OnSizing(UINT edge, UINT rect);
    virtual int OnMove(UINT x, UINT y);
    virtual int OnMoving(UINT edge, UINT rect);
    virtual int OnNotify(UINT controlId, UINT header, LRESULT* result);
    virtual int OnParentNotify(UINT event, UINT childId, UINT child);
    // Every message from WM_USER to 0x7FFF.
    virtual int OnUserMessage(UINT msg, UINT wParam, UINT lParam);

    LONG SetLong(int index, LONG value);

    // The window itself.
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam);
    BOOL Destroy();
    BOOL Show(int command);
    BOOL SetText(const char* text);
    int GetText(TextBuffer& text);
    HICON SetIcon(int big, HICON icon);
    BOOL GetRect(RECT& rect);
    int Warn(const char* text);

    // Child controls of the window by identifier.
    void EnableItem(int id, BOOL enable);
    UINT GetItemInt(int id, BOOL isSigned);
    int GetItemIntClamped(int id, BOOL isSigned, int min, int max);
    BOOL SetItemInt(int id, UINT value, BOOL isSigned);
    UINT GetItemText(int id, TextBuffer& text);
    UINT GetItemText(int id, char* text, int size);
    BOOL SetItemText(int id, const char* text);
    int GetItemTextLength(int id);
    UINT IsItemChecked(int id);
    BOOL CheckItem(int id, UINT state);

    // Placement on the screen.
    void GetVirtualScreen(VirtualScreen& screen);
    void GetSize(WindowSize& size);
    bool GetNormalPosition(WindowPosition& position);
    BOOL MoveTo(int x, int y);
    void Center(HWND other);
    void KeepOnScreen(WINDOWPOS* record);

    HWND hwnd = nullptr;

private:
    int Dispatch(UINT msg, UINT wParam, UINT lParam, LRESULT* result);
};
