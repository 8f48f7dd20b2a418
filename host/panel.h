/*
 * The panel of placed gauges: layout, hit-testing and drawing.
 */
#ifndef PELMORA_HOST_PANEL_H
#define PELMORA_HOST_PANEL_H

#include <windows.h>

#include <vector>

#include "host.h"

/* Sizes each gauge by its top-level picture and places the gauges left to
 * right in table order, wrapping at the panel's width. */
void lay_out_panel(std::vector<PlacedGauge> &gauges);

PlacedGauge *find_gauge(const char *name);

/* Hit-tests a click at (x, y) within the gauge against its mouse list and
 * calls the area's callback.  True when a callback ran. */
bool click_gauge(PlacedGauge &gauge, int x, int y, uint32_t mouse_flags);

/* Draws every gauge and the cockpit read-outs into the client area. */
void draw_panel(HDC dc, const RECT &client);

#endif
