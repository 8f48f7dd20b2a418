/*
 * The panel: where each gauge sits, which mouse area a click falls in, and
 * the picture of the whole panel with the cockpit read-outs below the gauges.
 */
#include "panel.h"

#include <stdio.h>

#include "element_drawing.h"
#include "module_call.h"
#include "pictures.h"

static const int panel_margin = 10;
static const int panel_gap = 16;
static const int panel_width = 900;
static const int readout_top = 300;

void lay_out_panel(std::vector<PlacedGauge> &gauges)
{
    /* Each gauge is as large as its top-level picture where it stands. */
    for (PlacedGauge &g : gauges) {
        ElementBase *top = g.header->elements ? g.header->elements[0] : 0;
        SIZE size = top ? picture_size(top->bitmap) : SIZE{0, 0};
        g.width = size.cx + (top ? top->x : 0);
        g.height = size.cy + (top ? top->y : 0);
    }
    /* Left to right in table order, wrapping at the panel's width. */
    int x = panel_margin, y = panel_margin, row_height = 0;
    for (PlacedGauge &g : gauges) {
        if (x > panel_margin && x + g.width > panel_width) {
            x = panel_margin;
            y += row_height + panel_gap;
            row_height = 0;
        }
        g.x = x;
        g.y = y;
        x += g.width + panel_gap;
        if (g.height > row_height)
            row_height = g.height;
    }
}

PlacedGauge *find_gauge(const char *name)
{
    for (PlacedGauge &g : host.gauges)
        if (lstrcmpA(g.header->name, name) == 0)
            return &g;
    return 0;
}

static bool inside(const MouseArea &a, int x, int y, int gauge_w, int gauge_h)
{
    /* An area of size 0 x 0 stands for the whole gauge. */
    int w = a.width, h = a.height;
    if (w == 0 && h == 0) {
        w = gauge_w;
        h = gauge_h;
    }
    return x >= a.x && y >= a.y && x < a.x + w && y < a.y + h;
}

bool click_gauge(PlacedGauge &g, int x, int y, uint32_t flags)
{
    /* The innermost area that holds the point, answers this event and has
     * a callback wins; parents open and close like brackets. */
    const MouseArea *hit = 0;
    int depth = 0, hit_depth = -1;
    for (const MouseArea *a = g.header->mouse; a && a->kind != area_end; a++) {
        if (a->kind == area_close) {
            depth--;
            continue;
        }
        int level = a->kind == area_parent ? depth++ : depth;
        if (a->callback && (a->mouse_flags & flags) && inside(*a, x, y, g.width, g.height) &&
            level >= hit_depth) {
            hit = a;
            hit_depth = level;
        }
    }
    if (!hit)
        return false;
    MousePoint point = {x - hit->x, y - hit->y};
    /* The simulator may let go of the module and its gauges inside the
     * callback: nothing of either is touched after it returns. */
    const std::string name = g.header->name;
    host.callbacks_running++;
    int32_t result = 0;
    CALL_MODULE("mouse callback", result = hit->callback(&point, flags));
    host.callbacks_running--;
    host.last_callback_result = result;
    host.have_callback_result = true;
    printf("click %s %d %d: callback returned %d\n", name.c_str(), x, y, (int)result);
    fflush(stdout);
    return true;
}

static void draw_readouts(HDC dc, const RECT &client)
{
    const Aircraft &a = host.aircraft;
    char nav1[16], course[16], adf[16], line[160];
    format_nav1(a.nav1_bcd, nav1, sizeof nav1);
    format_course(a.nav1_course, course, sizeof course);
    format_adf(a.adf_bcd, adf, sizeof adf);
    HFONT font = CreateFontA(18, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0,
                             FIXED_PITCH, "Courier New");
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0x40, 0xFF, 0x40));
    int y = readout_top;
    wsprintfA(line, "NAV1 %s   CRS %s   ADF %s", nav1, course, adf);
    TextOutA(dc, 12, y, line, lstrlenA(line));
    y += 24;
    wsprintfA(line, "AP  HDG %03d  ALT %05d  IAS %03d  MACH .%02d  V/S %d", a.ap_heading,
              a.ap_altitude, a.ap_airspeed, a.ap_mach, a.ap_vertical_speed);
    TextOutA(dc, 12, y, line, lstrlenA(line));
    y += 24;
    wsprintfA(line, "FUEL SELECTOR %d", a.fuel_selector);
    TextOutA(dc, 12, y, line, lstrlenA(line));
    SelectObject(dc, old);
    DeleteObject(font);
    /* The latest events, newest last. */
    SetTextColor(dc, RGB(0xC0, 0xC0, 0xC0));
    y += 32;
    size_t first = host.events.size() > 6 ? host.events.size() - 6 : 0;
    for (size_t i = first; i < host.events.size() && y < client.bottom; i++, y += 16) {
        wsprintfA(line, "event %s", host.events[i].c_str());
        TextOutA(dc, 12, y, line, lstrlenA(line));
    }
}

void draw_panel(HDC dc, const RECT &client)
{
    HBRUSH panel = CreateSolidBrush(RGB(0x30, 0x30, 0x34));
    FillRect(dc, &client, panel);
    DeleteObject(panel);
    for (PlacedGauge &g : host.gauges)
        if (g.header->elements)
            draw_element_tree(dc, g.header->elements[0], g.x, g.y);
    draw_readouts(dc, client);
}
