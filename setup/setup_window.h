/* The setup window: one dialog from setup.rc, its state and its handlers.
 * setup_window.cpp routes the messages and handles the simulator folder and
 * the world data; the panel line (panel_line.h) keeps to its own controls. */
#ifndef PELMORA_SETUP_WINDOW_H
#define PELMORA_SETUP_WINDOW_H

#include <windows.h>

#include <string>

#include "panel_line.h"
#include "world_data.h"

struct SetupWindow {
    HWND dialog = 0;
    WorldDataRun run;
    std::string log;              /* the world data box's text */
    bool source_picked = false;   /* the pilot chose the source kind: not changed for them */
    std::string filled_source;    /* the source text the window put in, for a kind it knows */
    PanelLine panel;
};

INT_PTR CALLBACK setup_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

#endif
