/*
 * The selection window: the launcher that the "V1" gauge's click calls, and
 * the dialog procedure it drives.
 */
#ifndef PELMORA_LAUNCHER_H
#define PELMORA_LAUNCHER_H

#include <windows.h>

#include "../module/interface/host_interface.h"

/* Module-wide state, set and read on the simulator's thread only. */
extern HINSTANCE dialog_instance;       /* the module holding the template */
extern HWND dialog_window;              /* the last dialog created */
extern bool dialog_active;              /* a fully created dialog lives: its loop runs */
extern bool loop_waiting;               /* the loop waits in GetMessageA */
extern int airport_mode_flag;           /* the mode button pressed last */
extern int navaid_mode_flag;

/* The mouse callback of the "V1" gauge: opens the dialog and runs its loop. */
int32_t HOSTCALL open_selection_window(MousePoint *point, uint32_t mouse_flags);

INT_PTR CALLBACK selection_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

#endif
