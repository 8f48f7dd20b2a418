/*
 * The selection dialog as a script sees it: found by its caption among this
 * thread's windows, its controls by their IDC_ names, their texts and lists,
 * and keys and double-clicks posted to them.  Each fails the step when what
 * it looks for is not there.
 */
#ifndef PELMORA_HOST_DIALOG_ACCESS_H
#define PELMORA_HOST_DIALOG_ACCESS_H

#include <windows.h>

#include <string>

#include "script_support.h"

/* A top-level dialog of this thread with that caption, after the window
 * "after" (other programs on the same desktop may show windows of their own). */
HWND find_own_window(const char *caption, HWND after = 0);
/* The selection dialog, or 0; need_dialog fails the step without it. */
HWND find_dialog();
HWND need_dialog();
/* A control's id from its IDC_ name; the control named by word i of a step. */
int control_id(const std::string &name);
HWND control(const Step &s, size_t i);

std::string class_of(HWND window);
bool is_combo(HWND c);
/* Where typed characters go: a combo box's own edit field. */
HWND typing_target(HWND c);
std::string window_text(HWND w);
/* The entries of a list or combo box. */
int list_count(HWND c);
std::string list_item(HWND c, int index);
std::string message_box_text(HWND box);

/* Posts a named key (escape, enter, down, up, tab, backspace) to target. */
void post_key(HWND target, const std::string &name);
/* Selects entry index of a list box and double-clicks it. */
void double_click_entry(HWND list, int index);

#endif
