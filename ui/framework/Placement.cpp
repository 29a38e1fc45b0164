#include "ui/framework/Placement.h"

#include "ui/framework/Window.h"

namespace {

// WINDOWPLACEMENT as Windows 95 defined it, the size every version accepts.
const UINT kPlacementLength = 44;
static_assert(sizeof(WINDOWPLACEMENT) == kPlacementLength, "the record keeps its first size");

const char* const kMultiMonitorEntries[] = {
    "GetSystemMetrics", "MonitorFromWindow", "MonitorFromRect", "MonitorFromPoint", "EnumDisplayMonitors",
};
const int kEntryCount = sizeof kMultiMonitorEntries / sizeof kMultiMonitorEntries[0];

struct MultiMonitorSupport {
    bool resolved = false;
    FARPROC entries[kEntryCount] = {};
    EntryLookup lookup = nullptr;
};

MultiMonitorSupport support;

void ResolveMultiMonitorSupport()
{
    EntryLookup lookup = support.lookup ? support.lookup : GetProcAddress;
    HMODULE user = GetModuleHandleA("USER32");
    bool complete = user != nullptr;
    for (int i = 0; complete && i < kEntryCount; ++i) {
        support.entries[i] = lookup(user, kMultiMonitorEntries[i]);
        complete = support.entries[i] != nullptr;
    }
    if (!complete) {
        for (FARPROC& entry : support.entries) entry = nullptr;
    }
    support.resolved = true;
}

// A looked-up multi-monitor function as its own type; void (*)() converts to any function type without a warning.
template <class Function>
Function Entry(int index)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(support.entries[index]));
}

int PrimaryScreenMetric(int index)
{
    switch (index) {
    case SM_XVIRTUALSCREEN: return 0;
    case SM_YVIRTUALSCREEN: return 0;
    case SM_CXVIRTUALSCREEN: return GetSystemMetrics(SM_CXSCREEN);
    case SM_CYVIRTUALSCREEN: return GetSystemMetrics(SM_CYSCREEN);
    case SM_CMONITORS: return 1;
    case SM_SAMEDISPLAYFORMAT: return 1;
    default: return GetSystemMetrics(index);
    }
}

}  // namespace

WindowPosition CenteredPosition(const RECT& area, const VirtualScreen& screen, const WindowSize& size)
{
    int areaWidth = area.right - area.left;
    int areaHeight = area.bottom - area.top;
    WindowPosition position{area.left, area.top};
    if (areaWidth > size.width) position.x += (areaWidth - size.width) / 2;
    if (areaHeight > size.height) position.y += (areaHeight - size.height) / 2;
    if (position.x + size.width > screen.x + screen.width) position.x = screen.x + screen.width - size.width;
    if (position.x < screen.x) position.x = screen.x;
    if (position.y + size.height > screen.y + screen.height) position.y = screen.y + screen.height - size.height;
    if (position.y < screen.y) position.y = screen.y;
    return position;
}

WindowPosition OnScreenPosition(const VirtualScreen& screen, const WindowSize& size, WindowPosition position)
{
    int maxX = screen.x + screen.width - size.width;
    int maxY = screen.y + screen.height - size.height;
    if (position.x < screen.x) position.x = screen.x;
    if (position.y < screen.y) position.y = screen.y;
    if (position.x > maxX && screen.x < maxX) position.x = maxX;
    if (position.y > maxY && screen.y < maxY) position.y = maxY;
    return position;
}

WindowPosition PlacementOffset(const RECT& window, const RECT& normal)
{
    return {window.left - normal.left, window.top - normal.top};
}

int SystemMetric(int index)
{
    if (!support.resolved) ResolveMultiMonitorSupport();
    if (!support.entries[0]) return PrimaryScreenMetric(index);
    return Entry<int(WINAPI*)(int)>(0)(index);
}

void ResetMultiMonitorSupport(EntryLookup lookup)
{
    support = MultiMonitorSupport();
    support.lookup = lookup;
}

void Window::GetVirtualScreen(VirtualScreen& screen)
{
    screen.x = SystemMetric(SM_XVIRTUALSCREEN);
    screen.y = SystemMetric(SM_YVIRTUALSCREEN);
    screen.width = SystemMetric(SM_CXVIRTUALSCREEN);
    screen.height = SystemMetric(SM_CYVIRTUALSCREEN);
}

void Window::GetSize(WindowSize& size)
{
    RECT rect;
    GetWindowRect(hwnd, &rect);
    size.width = rect.right - rect.left;
    size.height = rect.bottom - rect.top;
}

bool Window::GetNormalPosition(WindowPosition& position)
{
    WINDOWPLACEMENT placement = {};
    placement.length = kPlacementLength;
    if (!GetWindowPlacement(hwnd, &placement)) return false;
    // The convention is measured, never assumed; a window closed minimized or maximized keeps the last one seen.
    RECT window;
    if (!IsIconic(hwnd) && !IsZoomed(hwnd) && GetWindowRect(hwnd, &window)) {
        placementOffset = PlacementOffset(window, placement.rcNormalPosition);
    }
    position = {placement.rcNormalPosition.left + placementOffset.x, placement.rcNormalPosition.top + placementOffset.y};
    return true;
}

bool Window::MoveTo(int x, int y)
{
    return SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER) != FALSE;
}

void Window::Center(HWND other)
{
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    WindowSize size;
    GetSize(size);
    if (other) GetWindowRect(other, &area);
    VirtualScreen screen;
    GetVirtualScreen(screen);
    WindowPosition position = CenteredPosition(area, screen, size);
    MoveTo(position.x, position.y);
}

void Window::KeepOnScreen(WINDOWPOS* record)
{
    if (IsZoomed(hwnd) || IsIconic(hwnd)) return;
    VirtualScreen screen;
    GetVirtualScreen(screen);
    WindowSize size;
    GetSize(size);
    WindowPosition position;
    if (record) {
        position = {record->x, record->y};
    } else if (!GetNormalPosition(position)) {
        return;
    }
    position = OnScreenPosition(screen, size, position);
    if (record) {
        record->x = position.x;
        record->y = position.y;
    } else {
        MoveTo(position.x, position.y);
    }
}
