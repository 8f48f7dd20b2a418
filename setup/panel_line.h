/*
 * The setup window's third part, the panel line: the gauge entry for a
 * panel configuration, its copy to the clipboard and its addition to a
 * chosen panel.cfg.  It works on the dialog's panel-line controls and on
 * its own state only; the window routes their messages here.
 */
#ifndef PELMORA_SETUP_PANEL_LINE_H
#define PELMORA_SETUP_PANEL_LINE_H

#include <windows.h>

#include <string>

struct PanelLine {
    HWND dialog = 0;
    std::string text;             /* the chosen panel.cfg as read */
    bool read = false;
};

void panel_line_init(PanelLine &p);
/* x, y or the window section changed: the line shown again. */
void panel_line_update(PanelLine &p);
/* The panel.cfg field changed: the file read again, its sections listed. */
void panel_file_chosen(PanelLine &p);
void panel_copy_line(PanelLine &p);
void panel_add_line(PanelLine &p);
void panel_browse(PanelLine &p);

#endif
