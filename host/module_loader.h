/*
 * Loading the module as the simulator does, and calling its gauges' routines.
 */
#ifndef PELMORA_HOST_MODULE_LOADER_H
#define PELMORA_HOST_MODULE_LOADER_H

#include <stdint.h>

#include <string>

#include "host.h"

/* Loads GAUGES\PELMORA.GAU from the current directory (the first time; again
 * from the same path later) and stores the service
 * table in its ImportTable before anything else.  An error message on failure. */
bool load_module(std::string &error);
/* Places every gauge of the table on the panel: query, install, initialize. */
void place_gauges();
/* Calls one lifecycle routine of every placed gauge. */
void run_lifecycle(LifecycleStep step, uint32_t host_value);
/* Kills the gauges, calls the module's stop routine and lets go of it
 * (FreeLibrary), as the simulator does on exit and on a change of aircraft;
 * the panel is then empty. */
void unload_module();

#endif
