#include "aircraft.h"

#include <stdio.h>

static bool is_bcd_event(uint32_t id)
{
    return id == key_nav1_frequency || id == key_adf_frequency;
}

bool apply_key_event(Aircraft &a, uint32_t id, uint32_t value)
{
    const int32_t signed_value = (int32_t)value;
    switch (id) {
    case key_nav1_frequency: a.nav1_bcd = value; return true;
    case key_nav1_course: a.nav1_course = value; return true;
    case key_adf_frequency: a.adf_bcd = value; return true;
    case key_ap_heading: a.ap_heading = signed_value; return true;
    case key_ap_altitude: a.ap_altitude = signed_value; return true;
    case key_ap_airspeed: a.ap_airspeed = signed_value; return true;
    case key_ap_mach: a.ap_mach = signed_value; return true;
    case key_ap_vertical_speed: a.ap_vertical_speed = signed_value; return true;
    case key_fuel_selector_0:
    case key_fuel_selector_1:
    case key_fuel_selector_2:
    case key_fuel_selector_3:
        a.fuel_selector = (int32_t)(id - key_fuel_selector_0);
        return true;
    }
    return false;
}

void format_event(uint32_t id, uint32_t value, char *out, size_t room)
{
    if (is_bcd_event(id))
        snprintf(out, room, "%u=0x%X", (unsigned)id, (unsigned)value);
    else
        snprintf(out, room, "%u=%d", (unsigned)id, (int)(int32_t)value);
}

void format_nav1(uint32_t bcd, char *out, size_t room)
{
    snprintf(out, room, "1%02X.%02X", (unsigned)((bcd >> 8) & 0xFF), (unsigned)(bcd & 0xFF));
}

void format_course(uint32_t course, char *out, size_t room)
{
    snprintf(out, room, "%03u", (unsigned)course);
}

void format_adf(uint32_t bcd, char *out, size_t room)
{
    snprintf(out, room, "%X", (unsigned)bcd);
}

bool read_aircraft_variable(const Aircraft &a, VariableRef *v)
{
    switch (v->id) {
    case var_fuel_selector: v->value.number = 0; v->value.integer = a.fuel_selector; return true;
    case var_units_switch: v->value.number = a.units_switch; return true;
    case var_temperature: v->value.number = a.temperature; return true;
    case var_fuel_quantity: v->value.number = a.fuel_quantity; return true;
    case var_elevator: v->value.number = a.elevator; return true;
    case var_aileron: v->value.number = a.aileron; return true;
    case var_rudder: v->value.number = a.rudder; return true;
    case var_elevator_trim: v->value.number = a.elevator_trim; return true;
    }
    return false;
}

bool set_aircraft_variable(Aircraft &a, uint32_t id, double value)
{
    switch (id) {
    case var_fuel_selector: a.fuel_selector = (int32_t)value; return true;
    case var_units_switch: a.units_switch = value; return true;
    case var_temperature: a.temperature = value; return true;
    case var_fuel_quantity: a.fuel_quantity = value; return true;
    case var_elevator: a.elevator = value; return true;
    case var_aileron: a.aileron = value; return true;
    case var_rudder: a.rudder = value; return true;
    case var_elevator_trim: a.elevator_trim = value; return true;
    }
    return false;
}
