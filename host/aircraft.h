/*
 * The stand-in simulator's aircraft: what the module's key events set and
 * the variables its gauges read.  Portable, so the native tests run it.
 */
#ifndef PELMORA_HOST_AIRCRAFT_H
#define PELMORA_HOST_AIRCRAFT_H

#include <stddef.h>
#include <stdint.h>

#include "module/interface/host_interface.h"

struct Aircraft {
    /* radios, as the key events deliver them */
    uint32_t nav1_bcd = 0x1000;         /* digits after the leading 1: 0x1030 is 110.30 */
    uint32_t nav1_course = 0;           /* degrees */
    uint32_t adf_bcd = 0x200;           /* whole kHz in BCD */
    /* autopilot targets */
    int32_t ap_heading = 0;
    int32_t ap_altitude = 0;
    int32_t ap_airspeed = 0;
    int32_t ap_mach = 0;                /* hundredths */
    int32_t ap_vertical_speed = 0;
    /* what the sample gauges show */
    int32_t fuel_selector = 0;          /* position 0 to 3 */
    double elevator = 0, aileron = 0, rudder = 0, elevator_trim = 0;
    double fuel_quantity = 50;
    double temperature = 15.0 / 256.0;  /* 256 times this is degrees Celsius */
    double units_switch = 1;            /* 0 Fahrenheit, else Celsius */
};

/* Applies one key event; false (and nothing changed) for an id it does not know. */
bool apply_key_event(Aircraft &aircraft, uint32_t event_id, uint32_t value);

/* The event as one log line: "65708=0x1030" for BCD frequencies, "65716=45"
 * for every other value (signed decimal). */
void format_event(uint32_t event_id, uint32_t value, char *out, size_t room);

/* Cockpit forms: NAV1 "110.30", course "045", ADF "375". */
void format_nav1(uint32_t nav1_bcd, char *out, size_t room);
void format_course(uint32_t course, char *out, size_t room);
void format_adf(uint32_t adf_bcd, char *out, size_t room);

/* Fills the value of a variable reference; false when the id is unknown. */
bool read_aircraft_variable(const Aircraft &aircraft, VariableRef *variable);

/* Sets a variable by id from a number (scripts and the keyboard); false when
 * the id is unknown. */
bool set_aircraft_variable(Aircraft &aircraft, uint32_t id, double value);

#endif
