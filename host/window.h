/* The host's window: class "FS98MAIN", showing the panel. */
#ifndef PELMORA_HOST_WINDOW_H
#define PELMORA_HOST_WINDOW_H

#include <string>

/* Creates and shows the window; on_tick runs on a short timer (the script's
 * steps), the panel updates on a slower one. */
bool create_host_window(int show, void (*on_tick)());

/* Writes the screen (or, without one, the host window) as a BMP file. */
bool save_screenshot(const char *path, std::string &error);

#endif
