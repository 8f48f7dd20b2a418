/*
 * The value and mouse callbacks of the sample gauges.  The host calls a value
 * callback while it updates the callback's element, after it has filled the
 * element's variable references, and shows the result; the callbacks keep no
 * state of their own.
 *
 * Portable: no Windows headers, so the native tests call these directly.
 */
#ifndef PELMORA_GAUGE_CALLBACKS_H
#define PELMORA_GAUGE_CALLBACKS_H

#include "../module/interface/host_interface.h"

/* ---- "Fuel": the needle's dial ---- */
const double fuel_dial_empty = 0.0;
const double fuel_dial_full = 75.0;

/* ---- "Fuel_Selector": a four-position knob ---- */
const uint32_t selector_positions = 4;      /* also the knob's picture count */

/* ---- "Temperature": the three-digit readout ---- */
const uint32_t temperature_digits = 3;      /* the string element's maximum length */
const double temperature_scale = 256.0;     /* variable value times this: degrees Celsius */
const double temperature_shown_max = 999.0;
const double temperature_shown_min = -99.0;

/* The selector position that the click callback reads; the host fills it. */
extern VariableRef fuel_selector_variable;

/* The needle variable clamped to the dial, fuel_dial_empty to fuel_dial_full;
 * a value that is not a number shows empty. */
double HOSTCALL fuel_needle_value(NeedleElement *needle);

/* Picture of the knob for the icon variable's position (a 32-bit integer,
 * compared unsigned): 0, 1, 2, 3 show pictures 0, 2, 1, 3; any other
 * position shows picture 2. */
double HOSTCALL selector_icon_index(IconElement *icon);

/* Reads fuel_selector_variable, sends the key event that turns the knob one
 * picture on (positions 0 -> 2 -> 1 -> 3 -> 0; any other position goes to 1)
 * and returns 1.  The click point and flags are not looked at. */
int32_t HOSTCALL selector_click(MousePoint *point, uint32_t mouse_flags);

/* Temperature from variable 0 (times temperature_scale, degrees Celsius),
 * converted to Fahrenheit when the units switch, variable 1, is 0 or not a
 * number; clamped to temperature_shown_min..temperature_shown_max (not a
 * number: the minimum).  Writes the value truncated toward zero as "%3d" into
 * the element's text buffer, at most max_length (and never more than
 * temperature_digits) characters plus the NUL; a null buffer gets nothing.
 * Returns the clamped value. */
double HOSTCALL temperature_text(StringElement *readout);

/* Unit marker picture: 0 (Fahrenheit) when the icon variable is 0 or not a
 * number, otherwise 1 (Celsius). */
double HOSTCALL units_icon_index(IconElement *icon);

#endif
