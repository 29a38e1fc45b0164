#include "ui/framework/Menu.h"

int Menu::Enable(UINT item, bool byPosition, bool enable)
{
    return EnableMenuItem(handle, item, (byPosition ? MF_BYPOSITION : MF_BYCOMMAND) | (enable ? MF_ENABLED : MF_GRAYED));
}
