/*
 * The module's gauge table and the lifecycle routines of its gauges.
 */
#ifndef PELMORA_GAUGES_H
#define PELMORA_GAUGES_H

#include "host_interface.h"
#include "imports.h"

extern "C" ModuleLinkage Linkage;

/* Slots of the gauge table. */
enum GaugeSlot {
    slot_v1 = 0,
    slot_control_surfaces = 1,
    slot_fuel = 2,
    slot_fuel_selector = 3,
    slot_temperature = 4,
};

/* The gauge headers, one per slot (the sample gauges live in gauges/). */
extern GaugeHeader v1_header;
extern GaugeHeader control_surfaces_header;
extern GaugeHeader fuel_header;
extern GaugeHeader fuel_selector_header;
extern GaugeHeader temperature_header;

/* Each gauge's seven lifecycle routines hand the host the first element of
 * that gauge's own element list, read from the gauge table when they run. */
inline ElementBase *gauge_element(int slot)
{
    return Linkage.gauges[slot]->elements[0];
}

template <int Slot> void HOSTCALL gauge_query() { host_services()->query_elements(gauge_element(Slot)); }
template <int Slot> void HOSTCALL gauge_install(uint32_t host_value)
{
    host_services()->install_elements(gauge_element(Slot), host_value);
}
template <int Slot> void HOSTCALL gauge_initialize() { host_services()->initialize_elements(gauge_element(Slot)); }
template <int Slot> void HOSTCALL gauge_update() { host_services()->update_elements(gauge_element(Slot)); }
template <int Slot> void HOSTCALL gauge_generate(uint32_t host_value)
{
    host_services()->generate_elements(gauge_element(Slot), host_value);
}
template <int Slot> void HOSTCALL gauge_draw() { host_services()->draw_elements(gauge_element(Slot)); }
template <int Slot> void HOSTCALL gauge_kill() { host_services()->kill_elements(gauge_element(Slot)); }

/* The seven routines of a slot, in header order. */
#define GAUGE_LIFECYCLE(slot)                                                                   \
    gauge_query<slot>, gauge_install<slot>, gauge_initialize<slot>, gauge_update<slot>,         \
        gauge_generate<slot>, gauge_draw<slot>, gauge_kill<slot>

const uint32_t gauge_default_width_mm = 100;

#endif
