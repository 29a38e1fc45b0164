#include "ui/framework/Placement.h"

#include "framework/OwnedDialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const RECT kWorkArea = {0, 0, 1280, 994};
const VirtualScreen kScreen = {0, 0, 1280, 1024};
const VirtualScreen kLeftMonitor = {-1280, 0, 2560, 1024};

struct CenterRow {
    RECT area;
    VirtualScreen screen;
    WindowSize size;
    WindowPosition expected;
};

const CenterRow kCenters[] = {
    {kWorkArea, kScreen, {400, 300}, {440, 347}},
    // Wider than the screen: x 0, then -120 at the right edge, then 0 at the left.
    {kWorkArea, kScreen, {1400, 300}, {0, 347}},
    // Taller than the screen: y 0, then -76 at the bottom, then 0 at the top.
    {kWorkArea, kScreen, {400, 1100}, {440, 0}},
    // A difference of 101 adds 50.
    {{0, 0, 501, 401}, kScreen, {400, 300}, {50, 50}},
    {kWorkArea, kLeftMonitor, {400, 300}, {440, 347}},
    // Over another window smaller than this one: its top-left corner.
    {{100, 120, 300, 220}, kScreen, {400, 300}, {100, 120}},
    // Over a window near the far corner: pulled back inside the screen.
    {{1200, 900, 1400, 1000}, kScreen, {400, 300}, {880, 724}},
    {{-1200, 100, -200, 900}, kLeftMonitor, {400, 300}, {-900, 350}},
};

TEST(CenteredPosition, Table)
{
    for (const CenterRow& row : kCenters) {
        WindowPosition position = CenteredPosition(row.area, row.screen, row.size);
        EXPECT_EQ(row.expected.x, position.x) << row.area.left << "," << row.area.top << " " << row.size.width;
        EXPECT_EQ(row.expected.y, position.y) << row.area.left << "," << row.area.top << " " << row.size.height;
    }
}

struct KeepRow {
    VirtualScreen screen;
    WindowSize size;
    WindowPosition from;
    WindowPosition expected;
};

const KeepRow kKeeps[] = {
    {kScreen, {400, 300}, {1500, 900}, {880, 724}},
    {kScreen, {400, 300}, {-50, -20}, {0, 0}},
    {kScreen, {400, 300}, {100, 200}, {100, 200}},
    {kScreen, {400, 300}, {880, 724}, {880, 724}},
    {kLeftMonitor, {400, 300}, {1200, 0}, {880, 0}},
    {kLeftMonitor, {400, 300}, {-1300, 10}, {-1280, 10}},
    // Wider than the screen: the far limit does not apply, the near one does.
    {kScreen, {1400, 300}, {50, 10}, {50, 10}},
    {kScreen, {1400, 300}, {-10, 10}, {0, 10}},
    {kScreen, {400, 1100}, {10, 500}, {10, 500}},
    // Exactly as large as the screen: maxX equals vx, so the far limit stays off.
    {kScreen, {1280, 1024}, {30, 40}, {30, 40}},
};

TEST(OnScreenPosition, Table)
{
    for (const KeepRow& row : kKeeps) {
        WindowPosition position = OnScreenPosition(row.screen, row.size, row.from);
        EXPECT_EQ(row.expected.x, position.x) << row.from.x << "," << row.from.y;
        EXPECT_EQ(row.expected.y, position.y) << row.from.x << "," << row.from.y;
    }
}

class RealWindow : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, dialog.GetHwnd());
        dialog.GetSize(size);
        screen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                  GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    }

    WindowPosition Where()
    {
        RECT rect;
        GetWindowRect(dialog.GetHwnd(), &rect);
        return {rect.left, rect.top};
    }

    Owned<Dialog> dialog;
    WindowSize size;
    VirtualScreen screen;
};

TEST_F(RealWindow, MoveToKeepsTheSize)
{
    EXPECT_TRUE(dialog.MoveTo(-8, -30));
    WindowPosition at = Where();
    EXPECT_EQ(-8, at.x);
    EXPECT_EQ(-30, at.y);
    WindowSize after;
    dialog.GetSize(after);
    EXPECT_EQ(size.width, after.width);
    EXPECT_EQ(size.height, after.height);
    WindowPosition normal;
    EXPECT_TRUE(dialog.GetNormalPosition(normal));
    EXPECT_EQ(-8, normal.x);
    EXPECT_EQ(-30, normal.y);
}

TEST_F(RealWindow, CenterOnTheWorkArea)
{
    RECT area;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    dialog.MoveTo(3, 4);
    dialog.Center(nullptr);
    WindowPosition at = Where();
    int left = at.x - area.left, right = area.right - (at.x + size.width);
    int top = at.y - area.top, bottom = area.bottom - (at.y + size.height);
    EXPECT_TRUE(left == right || left + 1 == right) << left << " " << right;
    EXPECT_TRUE(top == bottom || top + 1 == bottom) << top << " " << bottom;
}

TEST_F(RealWindow, CenterOverAnotherWindow)
{
    Owned<Dialog> other;
    ASSERT_NE(nullptr, other.GetHwnd());
    SetWindowPos(other.GetHwnd(), nullptr, 100, 200, size.width + 200, size.height + 100, SWP_NOZORDER);
    dialog.Center(other.GetHwnd());
    WindowPosition at = Where();
    EXPECT_EQ(200, at.x);
    EXPECT_EQ(250, at.y);
}

TEST_F(RealWindow, KeepOnScreenPullsTheWindowBack)
{
    dialog.MoveTo(screen.x + screen.width + 200, screen.y + screen.height + 100);
    dialog.KeepOnScreen(nullptr);
    WindowPosition at = Where();
    EXPECT_EQ(screen.x + screen.width - size.width, at.x);
    EXPECT_EQ(screen.y + screen.height - size.height, at.y);

    dialog.MoveTo(screen.x - 50, screen.y - 20);
    dialog.KeepOnScreen(nullptr);
    at = Where();
    EXPECT_EQ(screen.x, at.x);
    EXPECT_EQ(screen.y, at.y);
}

TEST_F(RealWindow, KeepOnScreenWithARecordMovesOnlyTheRecord)
{
    dialog.MoveTo(10, 20);
    WINDOWPOS record = {};
    record.x = screen.x - 50;
    record.y = screen.y + screen.height + 100;
    record.cx = 5;
    record.cy = 5;
    dialog.KeepOnScreen(&record);
    EXPECT_EQ(screen.x, record.x);
    EXPECT_EQ(screen.y + screen.height - size.height, record.y);
    EXPECT_EQ(5, record.cx);
    WindowPosition at = Where();
    EXPECT_EQ(10, at.x);
    EXPECT_EQ(20, at.y);
}

TEST_F(RealWindow, MaximisedAndMinimisedWindowsAreLeftAlone)
{
    for (int command : {SW_MAXIMIZE, SW_MINIMIZE}) {
        dialog.Show(SW_RESTORE);
        dialog.MoveTo(-50, -20);
        dialog.Show(command);
        ASSERT_TRUE(command == SW_MAXIMIZE ? IsZoomed(dialog.GetHwnd()) : IsIconic(dialog.GetHwnd())) << command;
        RECT before;
        GetWindowRect(dialog.GetHwnd(), &before);
        WINDOWPOS record = {};
        record.x = -50;
        record.y = -20;
        dialog.KeepOnScreen(&record);
        EXPECT_EQ(-50, record.x) << command;
        EXPECT_EQ(-20, record.y) << command;
        dialog.KeepOnScreen(nullptr);
        RECT after;
        GetWindowRect(dialog.GetHwnd(), &after);
        EXPECT_TRUE(EqualRect(&before, &after)) << command;
        // The restored position is read also while the window is maximised or minimised.
        WindowPosition normal;
        EXPECT_TRUE(dialog.GetNormalPosition(normal));
        EXPECT_EQ(-50, normal.x) << command;
        EXPECT_EQ(-20, normal.y) << command;
    }
    dialog.Show(SW_HIDE);
}

TEST(PlacementOffset, BothConventions)
{
    // The same window at (100, 160) under a 40-pixel panel at the top, and one at (-1200, 35) on
    // a left monitor whose work area starts 30 pixels down and 60 across.
    const struct {
        RECT window, normal;
        WindowPosition offset;
    } rows[] = {
        {{100, 160, 500, 460}, {100, 120, 500, 420}, {0, 40}},      // Windows: workspace coordinates
        {{100, 160, 500, 460}, {100, 160, 500, 460}, {0, 0}},       // Wine 8: screen coordinates
        {{-1200, 35, -800, 335}, {-1260, 5, -860, 305}, {60, 30}},
        {{-1200, 35, -800, 335}, {-1200, 35, -800, 335}, {0, 0}},
    };
    for (const auto& row : rows) {
        WindowPosition offset = PlacementOffset(row.window, row.normal);
        EXPECT_EQ(row.offset.x, offset.x) << row.normal.left;
        EXPECT_EQ(row.offset.y, offset.y) << row.normal.top;
        EXPECT_EQ(row.window.top, row.normal.top + offset.y);
    }
}

TEST_F(RealWindow, NormalPositionIsKeptThroughMinimizeAndMaximize)
{
    dialog.Show(SW_RESTORE);
    dialog.MoveTo(300, 200);
    WindowPosition seen;
    ASSERT_TRUE(dialog.GetNormalPosition(seen));
    EXPECT_EQ(300, seen.x);
    EXPECT_EQ(200, seen.y);
    for (int command : {SW_MINIMIZE, SW_MAXIMIZE}) {
        dialog.Show(command);
        WindowPosition closed;
        ASSERT_TRUE(dialog.GetNormalPosition(closed));
        EXPECT_EQ(300, closed.x) << command;
        EXPECT_EQ(200, closed.y) << command;
        dialog.Show(SW_RESTORE);
    }
    dialog.Show(SW_HIDE);
}

TEST_F(RealWindow, NormalPositionIsOnTheScreenWithTheWorkAreaMoved)
{
    // Saved and placed again, the window stays where it was: no creeping by the taskbar's size.
    RECT old;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &old, 0));
    RECT moved = {old.left + 60, old.top + 40, old.right, old.bottom};
    ASSERT_TRUE(SystemParametersInfoA(SPI_SETWORKAREA, 0, &moved, 0));
    dialog.MoveTo(300, 200);
    for (int run = 0; run < 3; ++run) {
        WindowPosition saved;
        ASSERT_TRUE(dialog.GetNormalPosition(saved));
        dialog.MoveTo(saved.x, saved.y);
    }
    EXPECT_EQ(300, Where().x);
    EXPECT_EQ(200, Where().y);
    SystemParametersInfoA(SPI_SETWORKAREA, 0, &old, 0);
}

TEST_F(RealWindow, GetNormalPositionFailsWithoutAWindow)
{
    Window gone;
    WindowPosition untouched = {77, 88};
    EXPECT_FALSE(gone.GetNormalPosition(untouched));
    EXPECT_EQ(77, untouched.x);
    EXPECT_EQ(88, untouched.y);
}

TEST_F(RealWindow, VirtualScreenIsTheSystemsOne)
{
    VirtualScreen read;
    dialog.GetVirtualScreen(read);
    EXPECT_EQ(screen.x, read.x);
    EXPECT_EQ(screen.y, read.y);
    EXPECT_EQ(screen.width, read.width);
    EXPECT_EQ(screen.height, read.height);
}

// A look-up that can hide one entry point and hands out its own GetSystemMetrics.
std::vector<std::string> lookedUp;
std::string hidden;

int WINAPI PretendMetrics(int index) { return 5000 + index; }

FARPROC WINAPI Lookup(HMODULE module, LPCSTR name)
{
    lookedUp.push_back(name);
    if (name == hidden) return nullptr;
    if (std::string(name) == "GetSystemMetrics") {
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(PretendMetrics));
    }
    return GetProcAddress(module, name);
}

class MultiMonitor : public testing::Test {
protected:
    void TearDown() override { ResetMultiMonitorSupport(nullptr); }
};

const std::vector<std::string> kAllEntries = {
    "GetSystemMetrics", "MonitorFromWindow", "MonitorFromRect", "MonitorFromPoint", "EnumDisplayMonitors",
};

TEST_F(MultiMonitor, WithEveryEntryPointTheLookedUpFunctionAnswers)
{
    lookedUp.clear();
    hidden.clear();
    ResetMultiMonitorSupport(Lookup);
    EXPECT_EQ(5000 + SM_CXVIRTUALSCREEN, SystemMetric(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(5000 + SM_XVIRTUALSCREEN, SystemMetric(SM_XVIRTUALSCREEN));
    EXPECT_EQ(kAllEntries, lookedUp);
}

TEST_F(MultiMonitor, WithoutOneTheVirtualScreenIsThePrimaryScreen)
{
    const int primaryWidth = GetSystemMetrics(SM_CXSCREEN), primaryHeight = GetSystemMetrics(SM_CYSCREEN);
    for (const std::string& missing : {kAllEntries[0], kAllEntries[3], kAllEntries[4]}) {
        lookedUp.clear();
        hidden = missing;
        ResetMultiMonitorSupport(Lookup);
        EXPECT_EQ(0, SystemMetric(SM_XVIRTUALSCREEN)) << missing;
        EXPECT_EQ(0, SystemMetric(SM_YVIRTUALSCREEN)) << missing;
        EXPECT_EQ(primaryWidth, SystemMetric(SM_CXVIRTUALSCREEN)) << missing;
        EXPECT_EQ(primaryHeight, SystemMetric(SM_CYVIRTUALSCREEN)) << missing;
        EXPECT_EQ(1, SystemMetric(SM_CMONITORS)) << missing;
        EXPECT_EQ(1, SystemMetric(SM_SAMEDISPLAYFORMAT)) << missing;
        EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), SystemMetric(SM_CYCAPTION)) << missing;
        // The look-up stops at the missing entry.
        ASSERT_FALSE(lookedUp.empty());
        EXPECT_EQ(missing, lookedUp.back());
        EXPECT_EQ(kAllEntries[lookedUp.size() - 1], missing);
        const size_t lookUps = lookedUp.size();
        Window window;
        VirtualScreen read;
        window.GetVirtualScreen(read);
        EXPECT_EQ(0, read.x) << missing;
        EXPECT_EQ(primaryWidth, read.width) << missing;
        EXPECT_EQ(primaryHeight, read.height) << missing;
        EXPECT_EQ(lookUps, lookedUp.size()) << missing;
    }
}

TEST_F(MultiMonitor, TheDecisionIsMadeOnce)
{
    lookedUp.clear();
    hidden.clear();
    ResetMultiMonitorSupport(Lookup);
    SystemMetric(SM_CMONITORS);
    SystemMetric(SM_CMONITORS);
    Window window;
    VirtualScreen read;
    window.GetVirtualScreen(read);
    EXPECT_EQ(kAllEntries, lookedUp);
    EXPECT_EQ(5000 + SM_XVIRTUALSCREEN, read.x);
    EXPECT_EQ(5000 + SM_CYVIRTUALSCREEN, read.height);
}

}  // namespace
