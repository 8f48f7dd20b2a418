#include "callbacks.h"

#include <cmath>

#include "../module/interface/imports.h"
#include "../module/interface/text_format.h"

VariableRef fuel_selector_variable = {var_fuel_selector, {0, 0}, {0.0}, {0, 0}};

/* A value that equals 0.0 or is not a number counts as "off". */
static bool switched_off(double value)
{
    return value == 0.0 || std::isnan(value);
}

double HOSTCALL fuel_needle_value(NeedleElement *needle)
{
    double fuel = needle->variable.value.number;
    if (fuel > fuel_dial_full)
        return fuel_dial_full;
    if (fuel >= fuel_dial_empty)
        return fuel;
    return fuel_dial_empty; /* below empty, or not a number */
}

/* ---- "Fuel_Selector" ---- */

/* The knob's pictures run 0, 2, 1, 3 through the positions; a position the
 * knob does not know shows picture 2, where a click sends it to position 1. */
static const double selector_picture[selector_positions] = {0.0, 2.0, 1.0, 3.0};
const double selector_picture_unknown = 2.0;

/* One click: the event that moves the knob to its next picture. */
static const uint32_t selector_next_event[selector_positions] = {
    key_fuel_selector_2, /* picture 0 -> 1 */
    key_fuel_selector_3, /* picture 2 -> 3 */
    key_fuel_selector_1, /* picture 1 -> 2 */
    key_fuel_selector_0, /* picture 3 -> 0 */
};
const uint32_t selector_next_event_unknown = key_fuel_selector_1;
const uint32_t selector_event_value = 0;

double HOSTCALL selector_icon_index(IconElement *icon)
{
    uint32_t position = icon->variable.value.word;
    return position < selector_positions ? selector_picture[position] : selector_picture_unknown;
}

int32_t HOSTCALL selector_click(MousePoint *, uint32_t)
{
    host_services()->read_variable(&fuel_selector_variable);
    uint32_t position = fuel_selector_variable.value.word;
    uint32_t event = position < selector_positions ? selector_next_event[position] : selector_next_event_unknown;
    host_services()->send_key_event(event, selector_event_value);
    return 1;
}

/* ---- "Temperature" ---- */

double HOSTCALL temperature_text(StringElement *readout)
{
    double shown = readout->variables[0].value.number * temperature_scale;
    if (switched_off(readout->variables[1].value.number))
        shown = shown * 9.0 / 5.0 + 32.0;

    if (shown > temperature_shown_max)
        shown = temperature_shown_max;
    else if (!(shown >= temperature_shown_min)) /* below, or not a number */
        shown = temperature_shown_min;

    if (readout->text) {
        uint32_t length = readout->max_length < temperature_digits ? readout->max_length : temperature_digits;
        /* A value in -99..999, truncated, takes exactly temperature_digits
         * characters in "%3d"; a shorter room cuts it, never overruns. */
        format_text(readout->text, length + 1, "%3d", static_cast<int>(shown));
    }
    return shown;
}

double HOSTCALL units_icon_index(IconElement *icon)
{
    return switched_off(icon->variable.value.number) ? 0.0 : 1.0;
}
