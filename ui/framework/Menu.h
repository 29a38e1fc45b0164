#pragma once

#include <windows.h>

// A borrowed menu handle, never destroyed here.
class Menu {
public:
    void Attach(HMENU menu) { handle = menu; }
    // The item's previous state, or -1 when it does not exist.
    int Enable(UINT item, bool byPosition, bool enable);

private:
    HMENU handle = nullptr;
};
