#include "common/TestFiles.h"
#include "framework/OwnedDialog.h"
#include "support/WideText.h"
#include "ui/framework/Control.h"
#include "ui/framework/FileDialog.h"
#include "ui/framework/Menu.h"
#include "ui/framework/Resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

class Operations : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(nullptr, dialog.GetHwnd()); }

    Owned<Dialog> dialog;
};

TEST_F(Operations, TextsComeBackWholeInAnyScript)
{
    // Characters of no ANSI code page, past the default buffer's size.
    const std::wstring text = std::wstring(600, L'x') + L"caf\u00E9 \uD55C \U0001F600";
    Control edit;
    ASSERT_NE(nullptr, edit.Bind(dialog.GetHwnd(), IDC_TEXT));
    ASSERT_TRUE(edit.SetText(text.c_str()));
    EXPECT_EQ(static_cast<int>(text.size()), dialog.GetItemTextLength(IDC_TEXT));

    WideText whole;
    EXPECT_EQ(static_cast<int>(text.size()), edit.GetText(whole));
    EXPECT_EQ(text, whole.Data());
    WideText item(3);
    EXPECT_EQ(text.size(), dialog.GetItemText(IDC_TEXT, item));
    EXPECT_EQ(text, item.Data());
}

struct ClampRow {
    const char* text;
    bool isSigned;
    int min;
    int max;
    int expected;
};

const ClampRow kClamps[] = {
    {"45", false, 0, 31, 31},
    {"7", false, 0, 31, 7},
    {"", false, 0, 31, 0},
    {"abc", false, 5, 31, 5},
    {"4000000000", false, 0, 31, 0},
    {"12", false, 0, 9, 9},
    {"-5", true, 0, 31, 0},
    {"-5", true, -10, 31, -5},
    // Lower bound above upper bound: below the lower gives the lower, everything else the upper.
    {"3", false, 10, 5, 10},
    {"7", false, 10, 5, 10},
    {"10", false, 10, 5, 5},
    {"12", false, 10, 5, 5},
};

TEST_F(Operations, GetItemIntClamped)
{
    for (const ClampRow& row : kClamps) {
        dialog.SetItemText(IDC_NUMBER, Widen(row.text).c_str());
        EXPECT_EQ(row.expected, dialog.GetItemIntClamped(IDC_NUMBER, row.isSigned, row.min, row.max))
            << "\"" << row.text << "\" " << row.min << ".." << row.max;
    }
}

TEST_F(Operations, ItemNumbersReadAndWrite)
{
    EXPECT_TRUE(dialog.SetItemInt(IDC_NUMBER, 4000000000u, false));
    EXPECT_EQ(4000000000u, dialog.GetItemInt(IDC_NUMBER, false));
    WideText text;
    dialog.GetItemText(IDC_NUMBER, text);
    EXPECT_STREQ(L"4000000000", text.Data());
    EXPECT_TRUE(dialog.SetItemInt(IDC_NUMBER, static_cast<UINT>(-12), true));
    dialog.GetItemText(IDC_NUMBER, text);
    EXPECT_STREQ(L"-12", text.Data());
    EXPECT_EQ(static_cast<UINT>(-12), dialog.GetItemInt(IDC_NUMBER, true));
    dialog.SetItemText(IDC_NUMBER, L"300kbps");
    EXPECT_EQ(300u, dialog.GetItemInt(IDC_NUMBER, false));
    // Whether the text was a number at all.
    bool isNumber = false;
    dialog.SetItemText(IDC_NUMBER, L"-12");
    dialog.GetItemInt(IDC_NUMBER, true, &isNumber);
    EXPECT_TRUE(isNumber);
    dialog.SetItemText(IDC_NUMBER, L"abc");
    EXPECT_EQ(0u, dialog.GetItemInt(IDC_NUMBER, false, &isNumber));
    EXPECT_FALSE(isNumber);
}

TEST_F(Operations, WindowTextAndIcons)
{
    EXPECT_TRUE(dialog.SetText(L"\u30D6\u30EB"));
    WideText caption;
    EXPECT_EQ(2, dialog.GetText(caption));
    EXPECT_STREQ(L"\u30D6\u30EB", caption.Data());

    HICON big = LoadIconImage(IDI_TEST, 32);
    HICON small = LoadIconImage(IDI_TEST, 16);
    ASSERT_NE(nullptr, big);
    ASSERT_NE(nullptr, small);
    EXPECT_EQ(nullptr, LoadIconImage(IDD_MISSING, 16));
    EXPECT_EQ(nullptr, dialog.SetIcon(1, big));
    EXPECT_EQ(nullptr, dialog.SetIcon(0, small));
    EXPECT_EQ(big, dialog.SetIcon(1, small));
    EXPECT_EQ(small, dialog.SetIcon(0, big));
}

struct ListRow {
    UINT id;
    wchar_t separator;
    std::vector<std::string> items;
};

const ListRow kLists[] = {
    {IDS_RATES, '/', {"11025", "22050", "44100"}},
    {IDS_GAP, '/', {"a"}},
    {IDS_JAPANESE, '/', {"\x8E\xA9\x93\xAE", "\xBD\xC3\xDA\xB5", "\x95\x5C\x8E\xA6"}},
    // The trail byte of 表 is a backslash and must not split it.
    {IDS_BACKSLASH, '\\', {"\x95\x5C\x8E\xA6", "\x8E\xA9\x93\xAE"}},
    {IDS_EMPTY, '/', {}},
    {IDS_MISSING, '/', {}},
};

std::vector<std::string> Items(ComboBox& list)
{
    std::vector<std::string> items;
    LRESULT count = list.Send(CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[300] = {};
        list.Send(CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(Narrow(text));
    }
    return items;
}

TEST_F(Operations, AddResourceList)
{
    for (const ListRow& row : kLists) {
        ComboBox list;
        ASSERT_NE(nullptr, list.Bind(dialog.GetHwnd(), IDC_LIST));
        list.Send(CB_RESETCONTENT, 0, 0);
        list.AddResourceList(row.id, row.separator);
        EXPECT_EQ(row.items, Items(list)) << "string " << row.id;
    }
}

TEST_F(Operations, AddResourceListTakesTheWholeEntry)
{
    ComboBox list;
    list.Bind(dialog.GetHwnd(), IDC_LIST);
    list.AddResourceList(IDS_LONG, '/');
    std::vector<std::string> items = Items(list);
    // 300 characters: 30 whole items, none cut.
    ASSERT_EQ(30u, items.size());
    EXPECT_EQ("123456789", items[29]);
}

TEST_F(Operations, AddStringAndSetCurSel)
{
    ComboBox list;
    list.Bind(dialog.GetHwnd(), IDC_LIST);
    EXPECT_EQ(0, list.AddString(L"one"));
    EXPECT_EQ(1, list.AddString(L"two"));
    EXPECT_EQ(1, list.SetCurSel(1));
    EXPECT_EQ(1, list.Send(CB_GETCURSEL, 0, 0));
    WideText selected;
    list.GetText(selected);
    EXPECT_STREQ(L"two", selected.Data());
    EXPECT_EQ(CB_ERR, list.SetCurSel(5));
}

// A menu of three items with the ids 1, 2 and 3 at the positions 0, 1 and 2.
class OwnedMenu {
public:
    OwnedMenu() : handle(CreatePopupMenu())
    {
        AppendMenuA(handle, MF_STRING, 1, "one");
        AppendMenuA(handle, MF_STRING, 2, "two");
        AppendMenuA(handle, MF_STRING, 3, "three");
    }
    ~OwnedMenu() { DestroyMenu(handle); }
    OwnedMenu(const OwnedMenu&) = delete;
    OwnedMenu& operator=(const OwnedMenu&) = delete;

    std::vector<bool> Grayed() const
    {
        std::vector<bool> grayed;
        for (UINT position = 0; position < 3; ++position) {
            grayed.push_back((GetMenuState(handle, position, MF_BYPOSITION) & MF_GRAYED) != 0);
        }
        return grayed;
    }

    HMENU handle;
};

struct MenuRow {
    UINT item;
    bool byPosition;
    bool enable;
    std::vector<bool> grayed;
    int previous;
};

TEST(MenuEnable, ByCommandAndByPosition)
{
    const MenuRow rows[] = {
        {2, false, false, {false, true, false}, MF_ENABLED},
        {2, true, false, {false, true, true}, MF_ENABLED},
        {2, true, false, {false, true, true}, MF_GRAYED},
        {1, true, true, {false, false, true}, MF_GRAYED},
        {3, false, true, {false, false, false}, MF_GRAYED},
        {7, false, false, {false, false, false}, -1},
        {3, true, false, {false, false, false}, -1},
    };
    OwnedMenu owned;
    Menu menu;
    menu.Attach(owned.handle);
    for (const MenuRow& row : rows) {
        EXPECT_EQ(row.previous, menu.Enable(row.item, row.byPosition, row.enable)) << row.item;
        EXPECT_EQ(row.grayed, owned.Grayed()) << row.item;
    }
}

TEST_F(Operations, SystemMenuClose)
{
    HMENU system = GetSystemMenu(dialog.GetHwnd(), FALSE);
    ASSERT_NE(nullptr, system);
    Menu menu;
    menu.Attach(system);
    EXPECT_EQ(MF_ENABLED, menu.Enable(SC_CLOSE, false, false));
    EXPECT_NE(0u, GetMenuState(system, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(MF_GRAYED, menu.Enable(SC_CLOSE, false, true));
    EXPECT_EQ(0u, GetMenuState(system, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
}

const wchar_t kFilter[] = L"Video\0*.avi;*.mp4\0All\0*.*\0";

TEST(FileDialogRecord, FieldsAsTheDialogNeedsThem)
{
    EXPECT_EQ(0x1004u, kOpenDialogFlags);
    EXPECT_EQ(0x0004u, kSaveDialogFlags);
    HWND owner = reinterpret_cast<HWND>(0x1234);
    for (DWORD flags : {kOpenDialogFlags, kSaveDialogFlags}) {
        WideText name(511);
        OPENFILENAMEW record;
        memset(&record, 0xAB, sizeof record);
        FillFileDialogRecord(record, owner, kFilter, L"flv", L"C:\\Video", flags, name);
        EXPECT_EQ(sizeof(void*) == 4 ? 76u : 136u, record.lStructSize);
        EXPECT_EQ(owner, record.hwndOwner);
        EXPECT_EQ(kFilter, record.lpstrFilter);
        EXPECT_STREQ(L"flv", record.lpstrDefExt);
        EXPECT_STREQ(L"C:\\Video", record.lpstrInitialDir);
        EXPECT_EQ(flags, record.Flags);
        EXPECT_EQ(name.Data(), record.lpstrFile);
        EXPECT_EQ(512u, record.nMaxFile);

        // Everything else is zero, the fields past the record size included.
        OPENFILENAMEW rest = record;
        rest.lStructSize = 0;
        rest.hwndOwner = nullptr;
        rest.lpstrFilter = nullptr;
        rest.lpstrDefExt = nullptr;
        rest.lpstrInitialDir = nullptr;
        rest.Flags = 0;
        rest.lpstrFile = nullptr;
        rest.nMaxFile = 0;
        OPENFILENAMEW zero = {};
        EXPECT_EQ(0, memcmp(&zero, &rest, sizeof rest));
    }
}

// Waits for the first visible dialog-class window of the thread, reads it and sends it a command.
class BoxCloser {
public:
    using Fields = std::vector<std::pair<int, std::string>>;

    BoxCloser(DWORD thread, WPARAM command, HWND watched, Fields fields = {})
        : worker([=] { Run(thread, command, watched, fields); })
    {
    }
    ~BoxCloser() { Wait(); }
    BoxCloser(const BoxCloser&) = delete;
    BoxCloser& operator=(const BoxCloser&) = delete;

    void Wait()
    {
        if (worker.joinable()) worker.join();
    }

    std::string caption;
    std::vector<std::string> texts;
    HWND owner = nullptr;
    bool watchedEnabled = true;
    bool found = false;

private:
    static BOOL CALLBACK Match(HWND window, LPARAM found)
    {
        char name[16];
        GetClassNameA(window, name, sizeof name);
        if (!IsWindowVisible(window) || lstrcmpA(name, "#32770") != 0) return TRUE;
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }

    static BOOL CALLBACK Collect(HWND child, LPARAM texts)
    {
        char text[256] = {};
        GetWindowTextA(child, text, sizeof text);
        reinterpret_cast<std::vector<std::string>*>(texts)->push_back(text);
        return TRUE;
    }

    void Run(DWORD thread, WPARAM command, HWND watched, const Fields& fields)
    {
        HWND box = nullptr;
        for (int attempt = 0; attempt < 400 && !box; ++attempt) {
            EnumThreadWindows(thread, Match, reinterpret_cast<LPARAM>(&box));
            if (!box) Sleep(25);
        }
        if (!box) return;
        found = true;
        char text[256] = {};
        GetWindowTextA(box, text, sizeof text);
        caption = text;
        EnumChildWindows(box, Collect, reinterpret_cast<LPARAM>(&texts));
        owner = GetWindow(box, GW_OWNER);
        watchedEnabled = IsWindowEnabled(watched) != FALSE;
        for (const auto& field : fields) SetDlgItemTextA(box, field.first, field.second.c_str());
        PostMessageA(box, WM_COMMAND, command, 0);
    }

    std::thread worker;
};

TEST_F(Operations, WarnShowsATaskModalBoxWithTheDefaultCaption)
{
    const std::string warning = "\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC\x82\xF0\x8E\x77\x92\xE8\x82\xB5"
                                "\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2";  // ファイル名を指定してください
    BoxCloser closer(GetCurrentThreadId(), IDOK, dialog.GetHwnd());
    EXPECT_EQ(IDOK, dialog.Warn(Widen(warning).c_str()));
    closer.Wait();
    ASSERT_TRUE(closer.found);
    EXPECT_NE(closer.texts.end(), std::find(closer.texts.begin(), closer.texts.end(), warning));
    EXPECT_FALSE(closer.caption.empty());
    EXPECT_EQ(nullptr, closer.owner);
    // Task-modal without an owner: the thread's other windows are disabled while it shows.
    EXPECT_FALSE(closer.watchedEnabled);
    EXPECT_TRUE(IsWindowEnabled(dialog.GetHwnd()));
}

// The file name field of the file dialogs: a combo box in the Explorer style, an edit in the old one.
const int kFileNameCombo = 0x047C, kFileNameEdit = 0x0480;

TEST(FileDialogs, OpenReturnsTheChosenFullPath)
{
    TempFolder folder;
    const std::string file = folder.File("clip.avi");
    WriteFileBytes(file, "x");
    WideText name(511);
    bool chosen;
    {
        BoxCloser closer(GetCurrentThreadId(), IDOK, nullptr, {{kFileNameCombo, "clip.avi"}, {kFileNameEdit, "clip.avi"}});
        chosen = AskOpenFileName(nullptr, kFilter, L"avi", Widen(folder.Path()).c_str(), name);
        closer.Wait();
        ASSERT_TRUE(closer.found);
    }
    EXPECT_TRUE(chosen);
    EXPECT_EQ(file, Narrow(name.Data()));
}

TEST(FileDialogs, SaveAddsTheDefaultExtension)
{
    TempFolder folder;
    WideText name(511);
    name.Assign(L"result");
    bool chosen;
    {
        BoxCloser closer(GetCurrentThreadId(), IDOK, nullptr);
        // A filter of its own would lend its extension; "*.*" leaves the default one to the dialog.
        chosen = AskSaveFileName(nullptr, L"All\0*.*\0", L"flv", Widen(folder.Path()).c_str(), name);
        closer.Wait();
        ASSERT_TRUE(closer.found);
    }
    EXPECT_TRUE(chosen);
    EXPECT_EQ(folder.File("result.flv"), Narrow(name.Data()));
}

TEST(FileDialogs, CancelReturnsFalse)
{
    TempFolder folder;
    WideText name(511);
    BoxCloser closer(GetCurrentThreadId(), IDCANCEL, nullptr);
    EXPECT_FALSE(AskOpenFileName(nullptr, kFilter, L"avi", Widen(folder.Path()).c_str(), name));
    closer.Wait();
    EXPECT_TRUE(closer.found);
}

}  // namespace
