/* The setup window: one dialog from setup.rc, its state and its handlers.
 * setup_window.cpp routes the messages and handles the simulator folder and
 * the world data; panel_line.cpp the panel line and panel.cfg. */
#ifndef PELMORA_SETUP_WINDOW_H
#define PELMORA_SETUP_WINDOW_H

#include <windows.h>

#include <string>

#include "world_data.h"

struct SetupWindow {
    HWND dialog = 0;
    WorldDataRun run;
    std::string log;              /* the world data box's text */
    std::string panel_text;       /* the chosen panel.cfg as read */
    bool panel_read = false;
};

std::string control_text(HWND dialog, int id);

void panel_line_init(SetupWindow &w);
void panel_line_update(SetupWindow &w);
void panel_file_chosen(SetupWindow &w);
void panel_copy_line(SetupWindow &w);
void panel_add_line(SetupWindow &w);
void panel_browse(SetupWindow &w);

INT_PTR CALLBACK setup_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

#endif
