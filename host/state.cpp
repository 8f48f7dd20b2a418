#include "host.h"

HostState host;

void redraw_panel()
{
    if (host.window)
        InvalidateRect(host.window, 0, FALSE);
}
