#pragma once

#include <windows.h>

// The bounding box of all monitors, as an origin and an extent.
struct VirtualScreen {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Frame included.
struct WindowSize {
    int width = 0;
    int height = 0;
};

// The window's top-left corner in screen coordinates.
struct WindowPosition {
    int x = 0;
    int y = 0;
};

// Middle of the area, then the far edges of the screen, then its near edges.
WindowPosition CenteredPosition(const RECT& area, const VirtualScreen& screen, const WindowSize& size);
// The near edges of the screen, then its far edges where the window fits.
WindowPosition OnScreenPosition(const VirtualScreen& screen, const WindowSize& size, WindowPosition position);

// What GetWindowPlacement's normal rectangle lacks to be on the screen, read off a window that is
// neither minimized nor maximized, whose window rectangle is then its normal one. Windows reports
// workspace coordinates, which a panel at the top or left moves; Wine 8 reports screen coordinates.
WindowPosition PlacementOffset(const RECT& window, const RECT& normal);

// GetSystemMetrics, answered from the primary screen where the window manager lacks multi-monitor support.
int SystemMetric(int index);

using EntryLookup = FARPROC(WINAPI*)(HMODULE module, LPCSTR name);
// Forgets the multi-monitor decision; the next SystemMetric decides again with this look-up.
void ResetMultiMonitorSupport(EntryLookup lookup);
