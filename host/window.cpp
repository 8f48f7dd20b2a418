/* The host's window: class "FS98MAIN", the panel of gauges and the cockpit
 * read-outs of the simulated aircraft.
 *
 * Keys that move the aircraft's controls and gauges' variables:
 *   Up / Down      elevator (782)          Left / Right   aileron (783)
 *   Q / W          rudder (784)            T / G          elevator trim (786)
 *   + / -          fuel quantity (386)     [ / ]          temperature (350), 1 degree C
 *   U              units switch (335), Fahrenheit / Celsius
 * The four controls move in steps of 0.05 between -0.3 and 0.3, the range in
 * which the host delivers them (their markers then stay on their scales);
 * fuel moves in steps of 5 between 0 and 100.  A click on the fuel selector
 * knob turns it. */
#include "window.h"

#include "host.h"
#include "module_loader.h"
#include "panel.h"
#include "screen_area.h"

#include <stdio.h>

static const char window_class[] = "FS98MAIN";
static void (*tick_handler)() = 0;
static const UINT_PTR script_timer = 1;
static const UINT_PTR panel_timer = 2;
static const UINT script_interval_ms = 10;
static const UINT panel_interval_ms = 100;

static void paint(HWND window)
{
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    /* Drawn off screen first, so the panel does not flicker on the timer. */
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(dc, canvas);
    draw_panel(dc, client);
    BitBlt(screen, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
    EndPaint(window, &ps);
}

static void on_click(int x, int y)
{
    for (PlacedGauge &g : host.gauges)
        if (x >= g.x && y >= g.y && x < g.x + g.width && y < g.y + g.height) {
            click_gauge(g, x - g.x, y - g.y, mouse_left_single);
            return;
        }
}

/* One key: its variable, step and range; the gauges then update at once. */
static void on_key(WPARAM key)
{
    struct Binding {
        UINT key;
        uint32_t variable;
        double step, low, high;
    };
    const double control_step = 0.05, control_range = 0.3, degree = 1.0 / 256.0;
    static const Binding bindings[] = {
        {VK_UP, var_elevator, control_step, -control_range, control_range},
        {VK_DOWN, var_elevator, -control_step, -control_range, control_range},
        {VK_RIGHT, var_aileron, control_step, -control_range, control_range},
        {VK_LEFT, var_aileron, -control_step, -control_range, control_range},
        {'W', var_rudder, control_step, -control_range, control_range},
        {'Q', var_rudder, -control_step, -control_range, control_range},
        {'T', var_elevator_trim, control_step, -control_range, control_range},
        {'G', var_elevator_trim, -control_step, -control_range, control_range},
        {VK_OEM_PLUS, var_fuel_quantity, 5, 0, 100},
        {VK_ADD, var_fuel_quantity, 5, 0, 100},
        {VK_OEM_MINUS, var_fuel_quantity, -5, 0, 100},
        {VK_SUBTRACT, var_fuel_quantity, -5, 0, 100},
        {VK_OEM_6, var_temperature, degree, -200 * degree, 600 * degree},
        {VK_OEM_4, var_temperature, -degree, -200 * degree, 600 * degree},
    };
    VariableRef v = {};
    if (key == 'U') {
        v.id = var_units_switch;
        read_aircraft_variable(host.aircraft, &v);
        set_aircraft_variable(host.aircraft, var_units_switch, v.value.number == 0 ? 1 : 0);
    } else {
        const Binding *b = 0;
        for (const Binding &candidate : bindings)
            if (candidate.key == key)
                b = &candidate;
        if (!b)
            return;
        v.id = b->variable;
        read_aircraft_variable(host.aircraft, &v);
        double value = v.value.number + b->step;
        value = value < b->low ? b->low : value > b->high ? b->high : value;
        set_aircraft_variable(host.aircraft, b->variable, value);
    }
    run_lifecycle(step_update, 0);
    redraw_panel();
}

static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_PAINT:
        paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_KEYDOWN:
        on_key(wparam);
        return 0;
    case WM_LBUTTONDOWN:
        on_click((short)LOWORD(lparam), (short)HIWORD(lparam));
        return 0;
    case WM_TIMER:
        if (wparam == script_timer) {
            if (tick_handler)
                tick_handler();
        }
        else if (wparam == panel_timer) {
            run_lifecycle(step_update, 0);
            redraw_panel();
        }
        return 0;
    case WM_DESTROY:
        /* As the simulator's main window does: its destruction ends the
         * simulator, through a quit message to its loop. */
        host.window = 0;
        PostQuitMessage(host.main_window_quit_code >= 0 ? host.main_window_quit_code
                                                        : host.failures ? 1 : 0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

bool create_host_window(int show, void (*on_tick)())
{
    tick_handler = on_tick;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = window_proc;
    wc.hInstance = GetModuleHandleA(0);
    wc.hCursor = LoadCursor(0, IDC_ARROW);
    wc.lpszClassName = window_class;
    if (!RegisterClassA(&wc))
        return false;
    host.window = CreateWindowExA(0, window_class, "Pelmora host: panel", WS_OVERLAPPEDWINDOW,
                                  0, 0, 940, 520, 0, 0, wc.hInstance, 0);
    if (!host.window)
        return false;
    ShowWindow(host.window, show);
    UpdateWindow(host.window);
    SetTimer(host.window, script_timer, script_interval_ms, 0);
    SetTimer(host.window, panel_timer, panel_interval_ms, 0);
    return true;
}

bool save_screenshot(const char *path, std::string &error)
{
    /* The whole screen shows the dialog beside the host; without a screen
     * (the null display driver) this is blank, which is still a file. */
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    if (width <= 0 || height <= 0) {
        width = 940;
        height = 520;
    }
    bool ok = save_screen_area(path, 0, 0, width, height);
    if (!ok)
        error = std::string("cannot write ") + path;
    return ok;
}
