/*
 * The script commands, grouped by what they drive; each group adds its
 * commands to the runner's table.
 */
#ifndef PELMORA_HOST_SCRIPT_COMMANDS_H
#define PELMORA_HOST_SCRIPT_COMMANDS_H

#include "script_support.h"

/* The panel, the sample gauges and the event log (script_panel.cpp). */
void add_panel_commands(CommandTable &table);
/* The selection dialog, its controls and their timing (script_dialog.cpp). */
void add_dialog_commands(CommandTable &table);
/* Files, other windows, memory and screenshots (script_world.cpp). */
void add_world_commands(CommandTable &table);
/* What the simulator itself does while the window is open: its quit, its
 * main window, letting go of the module, its own modal boxes, a refused
 * control, the current folder (script_simulator.cpp). */
void add_simulator_commands(CommandTable &table);

#endif
