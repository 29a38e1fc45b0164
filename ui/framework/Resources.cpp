#include "ui/framework/Resources.h"

HINSTANCE ModuleHandle() { return GetModuleHandleA(nullptr); }

HICON LoadIconImage(WORD id, int size)
{
    return static_cast<HICON>(LoadImageA(ModuleHandle(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}
