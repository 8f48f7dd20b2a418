/*
 * The import table the simulator fills when it loads the module, and the way
 * every call to the simulator reaches its services.
 */
#ifndef PELMORA_IMPORTS_H
#define PELMORA_IMPORTS_H

#include "host_interface.h"

extern "C" ModuleImports ImportTable;

/* The simulator's table; stored before it calls any routine of the module. */
inline HostServices *host_services()
{
    return ImportTable.entries[0].services;
}

#endif
