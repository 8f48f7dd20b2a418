/*
 * The stand-in simulator: loads the module from its GAUGES folder the way the
 * simulator does, offers the service table, places the gauges on a panel,
 * hit-tests clicks against the mouse lists and applies the key events to a
 * simulated aircraft.
 */
#ifndef PELMORA_HOST_H
#define PELMORA_HOST_H

#include <windows.h>

#include <string>
#include <vector>

#include "aircraft.h"
#include "module/interface/host_interface.h"

/* The lifecycle routines, in header order. */
enum LifecycleStep { step_query, step_install, step_initialize, step_update, step_generate,
                     step_draw, step_kill, lifecycle_steps };

struct PlacedGauge {
    GaugeHeader *header = 0;
    int x = 0, y = 0;                   /* position on the panel */
    int width = 0, height = 0;          /* of the top-level picture */
    ElementBase *handed[lifecycle_steps] = {};  /* element each routine handed over */
};

struct HostState {
    HMODULE module = 0;
    ModuleLinkage *linkage = 0;
    ModuleImports *imports = 0;
    std::vector<PlacedGauge> gauges;
    PlacedGauge *current_gauge = 0;     /* whose lifecycle routine is running */
    Aircraft aircraft;
    HWND window = 0;
    std::string log_path;
    std::vector<std::string> events;    /* "id=value", in order */
    int callbacks_running = 0;          /* mouse callbacks not yet returned */
    int32_t last_callback_result = 0;
    bool have_callback_result = false;
    int failures = 0;                   /* failed script expectations */
};

extern HostState host;

/* ---- loading (module_loader.cpp) ---- */

/* Loads GAUGES\PELMORA.GAU from the current directory and stores the service
 * table in its ImportTable before anything else.  An error message on failure. */
bool load_module(std::string &error);
/* Places every gauge of the table: query, install, initialize. */
void place_gauges();
/* Calls one lifecycle routine of every placed gauge. */
void run_lifecycle(LifecycleStep step, uint32_t host_value);
void unload_module();
PlacedGauge *find_gauge(const char *name);

/* Hit-tests a click at (x, y) within the gauge against its mouse list and
 * calls the area's callback.  True when a callback ran. */
bool click_gauge(PlacedGauge &gauge, int x, int y, uint32_t mouse_flags);

/* ---- services (services.cpp) ---- */

extern HostServices host_service_table;
void record_event(uint32_t id, uint32_t value);

/* ---- elements (elements.cpp) ---- */

/* Fills the variable references of the tree and runs its value callbacks. */
void update_element_tree(ElementBase *element);
/* Draws the tree with the gauge's origin at (x, y). */
void draw_element_tree(HDC dc, ElementBase *element, int x, int y);
/* The picture of a bitmap id: the module's resource, else a picture of the
 * host's own for the sample gauges.  0 when there is none.  Cached. */
HBITMAP gauge_picture(uint32_t id);
SIZE picture_size(uint32_t id);
/* A top-down 32-bit DIB section of width x height; *bits gets its pixels. */
HBITMAP create_dib32(HDC dc, int width, int height, void **bits);

/* The dial point of a needle's value: between the two neighbouring scale
 * points that hold it, in proportion; beyond the ends, the nearer end; not a
 * number, the first point.  False without scale points. */
bool dial_point(const ScalePoint *points, uint32_t count, double value, double &x, double &y);
/* The picture an icon shows for a callback value: truncated, held within
 * 0 .. picture_count - 1 (not a number: 0). */
int icon_picture(uint32_t picture_count, double value);

/* The nth (from 1) element of a kind in a tree, depth first; 0 when none. */
ElementBase *find_element(ElementBase *tree, uint32_t kind, int nth);

/* What the latest update pass made of an element. */
struct ElementResult {
    double value = 0;           /* the value callback's result */
    double dx = 0, dy = 0;      /* a slider's displacement, pixels */
    const char *text = "";      /* a string's text */
};
/* False when the element has not been updated yet. */
bool element_result(const ElementBase *element, ElementResult &result);

/* ---- the host's own pictures (pictures.cpp) ---- */

/* A picture of the host's own for a bitmap id of the sample gauges, made
 * once per call; 0 for any other id. */
HBITMAP host_picture(uint32_t id);

/* ---- the window (panel.cpp) ---- */

bool create_host_window(int show);
void redraw_panel();
/* Writes the screen (or, without one, the host window) as a BMP file. */
bool save_screenshot(const char *path, std::string &error);

/* ---- scripts (script.cpp) ---- */

bool load_script(const char *path, std::string &error);
/* Runs the next script step; called on the host window's timer. */
void script_tick();
bool script_finished();

/* Paths given as Unix paths under Wine become Z: paths. */
std::string windows_path(const std::string &path);
/* The folder the host was started in; relative paths of outputs (such as
 * screenshots) are taken from there, not from the simulator folder. */
extern std::string start_directory;
std::string start_relative_path(const std::string &path);

#endif
