/*
 * The stand-in simulator's shared state: the loaded module, the gauges placed
 * on the panel, the simulated aircraft, the window and the event log.
 *
 * The host's files, each calling only those below it:
 *   main.cpp               the command line, the message loop
 *   script.cpp             the script runner and the flow of its steps
 *   script_panel.cpp, script_dialog.cpp, script_world.cpp, script_simulator.cpp
 *                          its commands, by what they drive
 *   script_parser.cpp, script_support.cpp, dialog_access.cpp
 *                          reading scripts; the checks and dialog look-ups they share
 *   window.cpp             the window, its keys and timers, screenshots
 *   screen_area.cpp        a part of the screen saved as a BMP file (also the setup tests')
 *   module_loader.cpp      loading the module, calling its gauges' routines
 *   panel.cpp              layout, hit-testing, drawing the panel
 *   services.cpp           the service table the module calls
 *   element_drawing.cpp    drawing element trees
 *   elements.cpp           the update pass of the element services
 *   pictures.cpp           pictures by bitmap id: the module's or the host's
 *   host_pictures.cpp      the host's own pictures for the sample gauges
 *   state.cpp, module_call.cpp, host_fields.cpp, dial.cpp, aircraft.cpp, paths.cpp
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
    /* The simulator's own message loop and its quit. */
    std::string module_path;            /* the module loaded, GAUGES\PELMORA.GAU */
    int main_window_quit_code = -1;     /* what the window posts when destroyed; -1: 1 on failures, else 0 */
    bool loop_ended = false;            /* the host's loop received its quit */
    int quit_code = 0;                  /* and the exit code that came with it */
    int modal_boxes_running = 0;        /* the host's own message boxes not yet closed */
    int last_modal_result = 0;
};

extern HostState host;

/* Asks the window to repaint the panel (state.cpp). */
void redraw_panel();

#endif
