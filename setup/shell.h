/* The system's pickers and the clipboard, as the setup window uses them. */
#ifndef PELMORA_SETUP_SHELL_H
#define PELMORA_SETUP_SHELL_H

#include <windows.h>

#include <string>

/* The folder picker, opened at start when that is a folder; false when the
 * pilot cancels. */
bool pick_folder(HWND owner, const char *title, const std::string &start, std::string &chosen);

/* The file picker; filter as GetOpenFileName takes it ("Name\0*.x\0\0"). */
bool pick_file(HWND owner, const char *title, const char *filter, const std::string &start,
               std::string &chosen);

/* Puts text on the clipboard as plain text. */
bool copy_text(HWND owner, const std::string &text);

#endif
