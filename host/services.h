/* The service table the host hands the module through ImportTable. */
#ifndef PELMORA_HOST_SERVICES_H
#define PELMORA_HOST_SERVICES_H

#include <stdint.h>

#include "module/interface/host_interface.h"

extern HostServices host_service_table;

/* Applies a key event to the aircraft, logs it and asks for a repaint. */
void record_event(uint32_t id, uint32_t value);

#endif
