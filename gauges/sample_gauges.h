/*
 * The headers of the four sample gauges, which the module's gauge table
 * lists after "V1".
 */
#ifndef PELMORA_SAMPLE_GAUGES_H
#define PELMORA_SAMPLE_GAUGES_H

#include "../module/interface/host_interface.h"

extern GaugeHeader control_surfaces_header;
extern GaugeHeader fuel_header;
extern GaugeHeader fuel_selector_header;
extern GaugeHeader temperature_header;

#endif
