/*
 * The lifecycle routines that every gauge header names, and the defaults of
 * a header.  Each gauge gets its own seven routines: they read the element
 * list of that gauge's header when they run and hand its first element to
 * the matching element service.
 */
#ifndef PELMORA_LIFECYCLE_H
#define PELMORA_LIFECYCLE_H

#include "host_interface.h"
#include "imports.h"

template <GaugeHeader &Gauge> void HOSTCALL gauge_query() { host_services()->query_elements(Gauge.elements[0]); }
template <GaugeHeader &Gauge> void HOSTCALL gauge_install(uint32_t host_value)
{
    host_services()->install_elements(Gauge.elements[0], host_value);
}
template <GaugeHeader &Gauge> void HOSTCALL gauge_initialize() { host_services()->initialize_elements(Gauge.elements[0]); }
template <GaugeHeader &Gauge> void HOSTCALL gauge_update() { host_services()->update_elements(Gauge.elements[0]); }
template <GaugeHeader &Gauge> void HOSTCALL gauge_generate(uint32_t host_value)
{
    host_services()->generate_elements(Gauge.elements[0], host_value);
}
template <GaugeHeader &Gauge> void HOSTCALL gauge_draw() { host_services()->draw_elements(Gauge.elements[0]); }
template <GaugeHeader &Gauge> void HOSTCALL gauge_kill() { host_services()->kill_elements(Gauge.elements[0]); }

/* The seven routines of a gauge's header, in header order. */
#define GAUGE_LIFECYCLE(header)                                                                 \
    gauge_query<header>, gauge_install<header>, gauge_initialize<header>, gauge_update<header>, \
        gauge_generate<header>, gauge_draw<header>, gauge_kill<header>

const uint32_t gauge_default_width_mm = 100;

#endif
