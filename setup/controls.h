/* The text of the setup window's controls, as its parts read them. */
#ifndef PELMORA_SETUP_CONTROLS_H
#define PELMORA_SETUP_CONTROLS_H

#include <windows.h>

#include <string>

/* The text of the dialog's control id, without the blanks and quotes that
 * paths pasted from elsewhere often come with. */
std::string control_text(HWND dialog, int id);

#endif
