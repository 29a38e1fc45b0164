#include "framework/OwnedDialog.h"
#include "ui/framework/Control.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Call {
    std::string handler;
    std::vector<UINT_PTR> args;
    bool operator==(const Call& other) const { return handler == other.handler && args == other.args; }
};

std::ostream& operator<<(std::ostream& out, const Call& call)
{
    out << call.handler << "(";
    for (UINT_PTR arg : call.args) out << arg << " ";
    return out << ")";
}

#define RECORD0(name) \
    int name() override { return Record(#name, {}); }
// F: a whole wParam or lParam; H: one half of it.
using F = UINT_PTR;
using H = UINT;
#define RECORD1(name, A) \
    int name(A a) override { return Record(#name, {a}); }
#define RECORD2(name, A, B) \
    int name(A a, B b) override { return Record(#name, {a, b}); }
#define RECORD3(name, A, B, C) \
    int name(A a, B b, C c) override { return Record(#name, {a, b, c}); }

// A dialog whose every handler writes down its name and arguments and answers as told.
class Recorder : public Dialog {
public:
    std::vector<Call> calls;
    std::vector<int> unhandledFlags;
    int answer = 1;
    LRESULT store = 0;
    bool consume = false;
    bool throwing = false;

    int PreDispatch(UINT, WPARAM, LPARAM, LRESULT*) override { return consume ? 1 : 0; }

    LRESULT DefaultProc(int unhandled, LRESULT result, UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        unhandledFlags.push_back(unhandled);
        return Dialog::DefaultProc(unhandled, result, msg, wParam, lParam);
    }

    int OnInitDialog(LRESULT* result) override { return Store("OnInitDialog", {}, result); }
    RECORD1(OnNcCreate, F)
    RECORD1(OnCreate, F)
    RECORD0(OnClose)
    RECORD0(OnNcDestroy)
    RECORD0(OnDestroy)
    RECORD1(OnEndSession, F)
    RECORD1(OnInitMenu, F)
    RECORD3(OnInitMenuPopup, F, H, H)
    RECORD3(OnMenuSelect, H, H, F)
    RECORD3(OnContextMenu, F, H, H)
    RECORD2(OnSysChar, F, F)
    RECORD2(OnSysKeyUp, F, F)
    RECORD2(OnSysKeyDown, F, F)
    RECORD3(OnSysCommand, F, H, H)
    RECORD1(OnWindowPosChanging, F)
    RECORD1(OnWindowPosChanged, F)
    RECORD1(OnDropFiles, F)
    RECORD1(OnTimer, F)
    int OnCommand(UINT id, UINT code, UINT_PTR control) override
    {
        if (throwing) throw std::runtime_error("handler failed");
        return Record("OnCommand", {id, code, control});
    }
    RECORD1(OnNcActivate, F)
    RECORD3(OnActivate, H, F, H)
    RECORD2(OnActivateApp, F, F)
    RECORD0(OnChildActivate)
    RECORD1(OnEnable, F)
    RECORD2(OnEnterIdle, F, F)
    RECORD1(OnKillFocus, F)
    RECORD1(OnSetFocus, F)
    RECORD2(OnShowWindow, F, F)
    int OnMouseActivate(UINT_PTR a, UINT b, UINT c, LRESULT* result) override
    {
        return Store("OnMouseActivate", {a, b, c}, result);
    }
    RECORD3(OnNcMouseMove, F, H, H)
    RECORD3(OnNcMButtonDblClk, F, H, H)
    RECORD3(OnNcMButtonUp, F, H, H)
    RECORD3(OnNcMButtonDown, F, H, H)
    RECORD3(OnNcLButtonDblClk, F, H, H)
    RECORD3(OnNcLButtonUp, F, H, H)
    RECORD3(OnNcLButtonDown, F, H, H)
    RECORD3(OnNcRButtonDblClk, F, H, H)
    RECORD3(OnNcRButtonUp, F, H, H)
    RECORD3(OnNcRButtonDown, F, H, H)
    RECORD3(OnMouseMove, F, H, H)
    RECORD3(OnMButtonDblClk, F, H, H)
    RECORD3(OnMButtonUp, F, H, H)
    RECORD3(OnMButtonDown, F, H, H)
    RECORD3(OnLButtonDblClk, F, H, H)
    RECORD3(OnLButtonUp, F, H, H)
    RECORD3(OnLButtonDown, F, H, H)
    RECORD3(OnRButtonDblClk, F, H, H)
    RECORD3(OnRButtonUp, F, H, H)
    RECORD3(OnRButtonDown, F, H, H)
    RECORD3(OnSetCursor, F, H, H)
    int OnMouseWheel(UINT a, UINT b, UINT c, UINT d) override { return Record("OnMouseWheel", {a, b, c, d}); }
    RECORD1(OnCaptureChanged, F)
    RECORD0(OnMouseLeave)
    RECORD0(OnMouseHover)
    int OnNcHitTest(UINT a, UINT b, LRESULT* result) override { return Store("OnNcHitTest", {a, b}, result); }
    RECORD2(OnKeyUp, F, F)
    RECORD2(OnKeyDown, F, F)
    RECORD2(OnChar, F, F)
    RECORD3(OnHotKey, F, H, H)
    RECORD0(OnNcPaint)
    RECORD0(OnPaint)
    int OnEraseBkgnd(UINT_PTR a, LRESULT* result) override { return Store("OnEraseBkgnd", {a}, result); }
    RECORD1(OnMeasureItem, F)
    RECORD1(OnDrawItem, F)
    RECORD3(OnVScroll, H, H, F)
    RECORD3(OnHScroll, H, H, F)
    RECORD3(OnSize, F, H, H)
    RECORD2(OnSizing, F, F)
    RECORD2(OnMove, H, H)
    RECORD2(OnMoving, F, F)
    int OnNotify(UINT_PTR a, UINT_PTR b, LRESULT* result) override { return Store("OnNotify", {a, b}, result); }
    RECORD3(OnParentNotify, H, H, F)
    RECORD3(OnUserMessage, H, F, F)

    void Clear()
    {
        calls.clear();
        unhandledFlags.clear();
    }

private:
    int Record(const char* name, std::vector<UINT_PTR> args)
    {
        calls.push_back({name, std::move(args)});
        return answer;
    }

    int Store(const char* name, std::vector<UINT_PTR> args, LRESULT* result)
    {
        if (result == nullptr) return Record("null result pointer", {});
        *result = store;
        return Record(name, std::move(args));
    }
};

// Low half 0x1234, high half 0xFEDC: a high half that would turn negative if sign-extended.
// In 64 bits the parameters also carry bits above 32, as a handle or pointer may.
const UINT_PTR kAbove32 = sizeof(UINT_PTR) > 4 ? static_cast<UINT_PTR>(0x0BADF00Dull << 32) : 0;
const WPARAM W = kAbove32 | 0xFEDC1234u;
// x = -1 and y = -120 as a window would pack them: 65535 and 65416 unsigned.
const LPARAM L = static_cast<LPARAM>(kAbove32 | 0xFF88FFFFu);
const UINT_PTR w = W, l = static_cast<UINT_PTR>(L);
const UINT wLow = 0x1234, wHigh = 0xFEDC, lLow = 65535, lHigh = 65416;

struct DispatchRow {
    UINT msg;
    WPARAM wParam;
    Call expected;
};

// Sent in the wide form, as the dialog is a Unicode window: no message is translated, so the
// made-up pointers in lParam are never read.
const DispatchRow kDispatch[] = {
    {WM_NCCREATE, W, {"OnNcCreate", {l}}},
    {WM_CREATE, W, {"OnCreate", {l}}},
    {WM_CLOSE, W, {"OnClose", {}}},
    {WM_NCDESTROY, W, {"OnNcDestroy", {}}},
    {WM_DESTROY, W, {"OnDestroy", {}}},
    {WM_ENDSESSION, W, {"OnEndSession", {w}}},
    {WM_INITMENU, W, {"OnInitMenu", {w}}},
    {WM_INITMENUPOPUP, W, {"OnInitMenuPopup", {w, lLow, lHigh}}},
    {WM_MENUSELECT, W, {"OnMenuSelect", {wLow, wHigh, l}}},
    {WM_CONTEXTMENU, W, {"OnContextMenu", {w, lLow, lHigh}}},
    {WM_SYSCHAR, 'a', {"OnSysChar", {'a', l}}},
    {WM_SYSKEYUP, W, {"OnSysKeyUp", {w, l}}},
    {WM_SYSKEYDOWN, W, {"OnSysKeyDown", {w, l}}},
    {WM_SYSCOMMAND, W, {"OnSysCommand", {w, lLow, lHigh}}},
    {WM_WINDOWPOSCHANGING, W, {"OnWindowPosChanging", {l}}},
    {WM_WINDOWPOSCHANGED, W, {"OnWindowPosChanged", {l}}},
    {WM_DROPFILES, W, {"OnDropFiles", {w}}},
    {WM_TIMER, W, {"OnTimer", {w}}},
    {WM_COMMAND, W, {"OnCommand", {wLow, wHigh, l}}},
    {WM_NCACTIVATE, W, {"OnNcActivate", {w}}},
    {WM_ACTIVATE, W, {"OnActivate", {wLow, l, wHigh}}},
    {WM_ACTIVATEAPP, W, {"OnActivateApp", {w, l}}},
    {WM_CHILDACTIVATE, W, {"OnChildActivate", {}}},
    {WM_ENABLE, W, {"OnEnable", {w}}},
    {WM_ENTERIDLE, W, {"OnEnterIdle", {w, l}}},
    {WM_KILLFOCUS, W, {"OnKillFocus", {w}}},
    {WM_SETFOCUS, W, {"OnSetFocus", {w}}},
    {WM_SHOWWINDOW, W, {"OnShowWindow", {w, l}}},
    {WM_MOUSEACTIVATE, W, {"OnMouseActivate", {w, lLow, lHigh}}},
    {WM_NCMOUSEMOVE, W, {"OnNcMouseMove", {w, lLow, lHigh}}},
    {WM_NCMBUTTONDBLCLK, W, {"OnNcMButtonDblClk", {w, lLow, lHigh}}},
    {WM_NCMBUTTONUP, W, {"OnNcMButtonUp", {w, lLow, lHigh}}},
    {WM_NCMBUTTONDOWN, W, {"OnNcMButtonDown", {w, lLow, lHigh}}},
    {WM_NCLBUTTONDBLCLK, W, {"OnNcLButtonDblClk", {w, lLow, lHigh}}},
    {WM_NCLBUTTONUP, W, {"OnNcLButtonUp", {w, lLow, lHigh}}},
    {WM_NCLBUTTONDOWN, W, {"OnNcLButtonDown", {w, lLow, lHigh}}},
    {WM_NCRBUTTONDBLCLK, W, {"OnNcRButtonDblClk", {w, lLow, lHigh}}},
    {WM_NCRBUTTONUP, W, {"OnNcRButtonUp", {w, lLow, lHigh}}},
    {WM_NCRBUTTONDOWN, W, {"OnNcRButtonDown", {w, lLow, lHigh}}},
    {WM_MOUSEMOVE, W, {"OnMouseMove", {w, lLow, lHigh}}},
    {WM_MBUTTONDBLCLK, W, {"OnMButtonDblClk", {w, lLow, lHigh}}},
    {WM_MBUTTONUP, W, {"OnMButtonUp", {w, lLow, lHigh}}},
    {WM_MBUTTONDOWN, W, {"OnMButtonDown", {w, lLow, lHigh}}},
    {WM_LBUTTONDBLCLK, W, {"OnLButtonDblClk", {w, lLow, lHigh}}},
    {WM_LBUTTONUP, W, {"OnLButtonUp", {w, lLow, lHigh}}},
    {WM_LBUTTONDOWN, W, {"OnLButtonDown", {w, lLow, lHigh}}},
    {WM_RBUTTONDBLCLK, W, {"OnRButtonDblClk", {w, lLow, lHigh}}},
    {WM_RBUTTONUP, W, {"OnRButtonUp", {w, lLow, lHigh}}},
    {WM_RBUTTONDOWN, W, {"OnRButtonDown", {w, lLow, lHigh}}},
    {WM_SETCURSOR, W, {"OnSetCursor", {w, lLow, lHigh}}},
    {WM_MOUSEWHEEL, W, {"OnMouseWheel", {wLow, wHigh, lLow, lHigh}}},
    {WM_CAPTURECHANGED, W, {"OnCaptureChanged", {l}}},
    {WM_MOUSELEAVE, W, {"OnMouseLeave", {}}},
    {WM_MOUSEHOVER, W, {"OnMouseHover", {}}},
    {WM_NCHITTEST, W, {"OnNcHitTest", {lLow, lHigh}}},
    {WM_KEYUP, W, {"OnKeyUp", {w, l}}},
    {WM_KEYDOWN, W, {"OnKeyDown", {w, l}}},
    {WM_CHAR, 'a', {"OnChar", {'a', l}}},
    {WM_HOTKEY, W, {"OnHotKey", {w, lLow, lHigh}}},
    {WM_NCPAINT, W, {"OnNcPaint", {}}},
    {WM_PAINT, W, {"OnPaint", {}}},
    {WM_ERASEBKGND, W, {"OnEraseBkgnd", {w}}},
    {WM_MEASUREITEM, W, {"OnMeasureItem", {l}}},
    {WM_DRAWITEM, W, {"OnDrawItem", {l}}},
    {WM_VSCROLL, W, {"OnVScroll", {wLow, wHigh, l}}},
    {WM_HSCROLL, W, {"OnHScroll", {wLow, wHigh, l}}},
    {WM_SIZE, W, {"OnSize", {w, lLow, lHigh}}},
    {WM_SIZING, W, {"OnSizing", {w, l}}},
    {WM_MOVE, W, {"OnMove", {lLow, lHigh}}},
    {WM_MOVING, W, {"OnMoving", {w, l}}},
    {WM_NOTIFY, W, {"OnNotify", {w, l}}},
    {WM_PARENTNOTIFY, W, {"OnParentNotify", {wLow, wHigh, l}}},
    {0x0400, W, {"OnUserMessage", {0x0400, w, l}}},
    {0x7FFF, W, {"OnUserMessage", {0x7FFF, w, l}}},
};

class Dispatch : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, dialog.GetHwnd());
        dialog.Clear();
    }

    Owned<Recorder> dialog;
};

TEST_F(Dispatch, EveryMessageReachesItsHandlerWithItsArguments)
{
    // Every handler row but WM_INITDIALOG, which must carry the object, and both ends of the user range.
    EXPECT_EQ(72u + 2u, sizeof kDispatch / sizeof kDispatch[0]);
    const HWND window = dialog.GetHwnd();
    for (const DispatchRow& row : kDispatch) {
        dialog.Clear();
        SendMessageW(window, row.msg, row.wParam, L);
        EXPECT_EQ(std::vector<Call>{row.expected}, dialog.calls) << "message 0x" << std::hex << row.msg;
        EXPECT_EQ(std::vector<int>{0}, dialog.unhandledFlags) << "message 0x" << std::hex << row.msg;
        // The hidden dialog takes WM_NCDESTROY as its end and lets its handle go.
        if (row.msg == WM_NCDESTROY) {
            EXPECT_EQ(nullptr, dialog.GetHwnd());
            dialog.Attach(window);
        }
    }
    dialog.Clear();
    SendMessageA(dialog.GetHwnd(), WM_INITDIALOG, W, reinterpret_cast<LPARAM>(static_cast<Window*>(&dialog)));
    EXPECT_EQ((std::vector<Call>{Call{"OnInitDialog", {}}}), dialog.calls);
}

TEST_F(Dispatch, MessagesOutsideTheTableReachNoHandler)
{
    for (UINT msg : {0x0000u, 0x03FFu, 0x8000u, 0xBFFFu, 0xC000u}) {
        dialog.Clear();
        EXPECT_EQ(FALSE, DialogProc(dialog.GetHwnd(), msg, W, L)) << msg;
        EXPECT_TRUE(dialog.calls.empty()) << msg;
        EXPECT_EQ(std::vector<int>{1}, dialog.unhandledFlags) << msg;
    }
}

TEST_F(Dispatch, AUserMessageLeftUnhandledGoesToTheDefault)
{
    dialog.answer = 0;
    EXPECT_EQ(FALSE, DialogProc(dialog.GetHwnd(), 0x0400, 0, 0));
    EXPECT_EQ(std::vector<int>{1}, dialog.unhandledFlags);
}

TEST_F(Dispatch, AConsumingPreDispatchSkipsHandlersAndDefault)
{
    dialog.consume = true;
    dialog.store = 5;
    EXPECT_EQ(0, dialog.WindowProc(WM_COMMAND, 1, 0));
    EXPECT_EQ(0, dialog.WindowProc(WM_NOTIFY, 1, 0));
    EXPECT_TRUE(dialog.calls.empty());
    EXPECT_TRUE(dialog.unhandledFlags.empty());
}

TEST_F(Dispatch, AThrowingHandlerDoesNotReachTheWindowManager)
{
    dialog.throwing = true;
    EXPECT_EQ(0, SendMessageA(dialog.GetHwnd(), WM_COMMAND, 7, 0));
    EXPECT_EQ(FALSE, DialogProc(dialog.GetHwnd(), WM_COMMAND, 7, 0));
    EXPECT_EQ(0, dialog.WindowProc(WM_COMMAND, 7, 0));
    dialog.throwing = false;
    EXPECT_EQ(TRUE, DialogProc(dialog.GetHwnd(), WM_COMMAND, 7, 0));
}

struct VerdictRow {
    UINT msg;
    int answer;
    LRESULT store;
    INT_PTR dialogProc;
    LRESULT sent;
};

const VerdictRow kVerdicts[] = {
    // WM_INITDIALOG answers with the stored result, whatever the handler returns.
    {WM_INITDIALOG, 0, 1, 1, 1},
    {WM_INITDIALOG, 1, 0, 0, 0},
    // Every other message answers with the handled flag; the sender gets the result a handler
    // stored, through DWLP_MSGRESULT, and nothing from a message left unhandled.
    {WM_NOTIFY, 1, 5, 1, 5},
    {WM_NOTIFY, 0, 5, 0, 0},
    {WM_NCHITTEST, 1, 7, 1, 7},
    {WM_COMMAND, 1, 0, 1, 0},
    {WM_COMMAND, 0, 0, 0, 0},
    {WM_DESTROY, 1, 0, 1, 0},
};

TEST_F(Dispatch, DialogResults)
{
    const LPARAM self = reinterpret_cast<LPARAM>(static_cast<Window*>(&dialog));
    for (const VerdictRow& row : kVerdicts) {
        dialog.answer = row.answer;
        dialog.store = row.store;
        LPARAM lParam = row.msg == WM_INITDIALOG ? self : 0;
        EXPECT_EQ(row.dialogProc, DialogProc(dialog.GetHwnd(), row.msg, 0, lParam)) << row.msg << " " << row.answer;
        SetWindowLongPtrA(dialog.GetHwnd(), DWLP_MSGRESULT, 0);
        EXPECT_EQ(row.sent, SendMessageA(dialog.GetHwnd(), row.msg, 0, lParam)) << row.msg << " " << row.answer;
    }
}

// Wraps DialogProc to see what it answers while the dialog is being made.
struct CreationTrace {
    std::vector<UINT> before;
    std::vector<INT_PTR> answersBefore;
    bool initialised = false;
    size_t callsBeforeInit = 0;
};
CreationTrace* trace = nullptr;
Recorder* traced = nullptr;

INT_PTR CALLBACK TracingProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        trace->initialised = true;
        trace->callsBeforeInit = traced->calls.size();
    }
    INT_PTR answer = DialogProc(window, msg, wParam, lParam);
    if (!trace->initialised) {
        trace->before.push_back(msg);
        trace->answersBefore.push_back(answer);
    }
    return answer;
}

TEST(DialogBinding, MessagesBeforeInitDialogReachNoObject)
{
    CreationTrace seen;
    Recorder object;
    object.store = 9;
    trace = &seen;
    traced = &object;
    HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TEST), nullptr, TracingProc,
                                     reinterpret_cast<LPARAM>(static_cast<Window*>(&object)));
    ASSERT_NE(nullptr, window);
    // The template's font arrives with WM_SETFONT before WM_INITDIALOG.
    ASSERT_FALSE(seen.before.empty());
    EXPECT_EQ(static_cast<UINT>(WM_SETFONT), seen.before.front());
    for (INT_PTR answer : seen.answersBefore) EXPECT_EQ(0, answer);
    EXPECT_EQ(0u, seen.callsBeforeInit);
    ASSERT_FALSE(object.calls.empty());
    EXPECT_EQ("OnInitDialog", object.calls.front().handler);
    EXPECT_EQ(window, object.GetHwnd());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(static_cast<Window*>(&object)), GetWindowLongPtrA(window, DWLP_USER));
    DestroyWindow(window);
    // Destruction is still dispatched, and the handle goes with the window's last message.
    EXPECT_EQ("OnNcDestroy", object.calls.back().handler);
    EXPECT_EQ(nullptr, object.GetHwnd());
}

TEST(DialogBinding, CreateModelessReportsAMissingTemplate)
{
    Recorder object;
    EXPECT_FALSE(object.CreateModeless(IDD_MISSING, nullptr));
    EXPECT_EQ(nullptr, object.GetHwnd());
    EXPECT_TRUE(object.calls.empty());
}

// A window or control whose two handlers answer as told and whose default is watched.
template <class Base>
class Probe : public Base {
public:
    int answer = 1;
    std::vector<int> unhandledFlags;

    LRESULT DefaultProc(int unhandled, LRESULT result, UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        unhandledFlags.push_back(unhandled);
        return Base::DefaultProc(unhandled, result, msg, wParam, lParam);
    }
    int OnNcHitTest(UINT, UINT, LRESULT* result) override
    {
        *result = 7;
        return answer;
    }
    int OnNcActivate(UINT_PTR) override { return answer; }
};

class DefaultProcedures : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(nullptr, dialog.GetHwnd()); }

    Owned<Dialog> dialog;
};

TEST_F(DefaultProcedures, PlainWindow)
{
    Probe<Window> window;
    window.Attach(dialog.GetHwnd());
    // Not handled: DefWindowProcW answers, here with the caption's length.
    EXPECT_EQ(13, window.WindowProc(WM_GETTEXTLENGTH, 0, 0));
    // Handled: the handler's result.
    EXPECT_EQ(7, window.WindowProc(WM_NCHITTEST, 0, 0));
    window.answer = 0;
    EXPECT_NE(7, window.WindowProc(WM_NCHITTEST, 0, 0));
    // WM_DESTROY counts as handled without a handler of its own.
    window.unhandledFlags.clear();
    EXPECT_EQ(0, window.WindowProc(WM_DESTROY, 0, 0));
    EXPECT_EQ(std::vector<int>{0}, window.unhandledFlags);
    EXPECT_TRUE(IsWindow(dialog.GetHwnd()));
}

TEST_F(DefaultProcedures, ControlWithoutPreviousProcedure)
{
    Probe<Control> label;
    ASSERT_NE(nullptr, label.Bind(dialog.GetHwnd(), IDC_LABEL));
    EXPECT_EQ(5, label.WindowProc(WM_GETTEXTLENGTH, 0, 0));
    // Handled or not, DefWindowProcW answers: WM_NCACTIVATE gives TRUE, not the handler's 0.
    EXPECT_EQ(TRUE, label.WindowProc(WM_NCACTIVATE, TRUE, 0));
    EXPECT_EQ((std::vector<int>{1, 0}), label.unhandledFlags);
}

TEST_F(DefaultProcedures, ControlWithPreviousProcedure)
{
    Probe<Control> label;
    ASSERT_NE(nullptr, label.Bind(dialog.GetHwnd(), IDC_LABEL));
    label.prevProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(label.GetHwnd(), GWLP_WNDPROC));
    EXPECT_EQ(5, label.WindowProc(WM_GETTEXTLENGTH, 0, 0));
    // Handled gives 0; not handled gives the static control's own answer.
    EXPECT_EQ(0, label.WindowProc(WM_NCHITTEST, 0, 0));
    label.answer = 0;
    EXPECT_EQ(HTTRANSPARENT, label.WindowProc(WM_NCHITTEST, 0, 0));
}

}  // namespace
