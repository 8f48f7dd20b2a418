/*
 * The four sample gauges: "Control_Surfaces", "Fuel", "Fuel_Selector" and
 * "Temperature".  Each is a background picture whose children follow
 * simulator variables; the host's element services move and draw them, the
 * callbacks in callbacks.cpp shape the values.  The pictures named here are
 * not in the module: the host supplies its own.
 */
#include <windows.h>

#include "../module/interface/lifecycle.h"
#include "callbacks.h"
#include "sample_gauges.h"

/* A variable reference as built: only the id is the module's. */
static constexpr VariableRef variable_ref(uint32_t id)
{
    return {id, {0, 0}, {0.0}, {0, 0}};
}

const uint32_t no_variable = 0;

template <typename T, size_t N> constexpr uint32_t count_of(const T (&)[N])
{
    return N;
}

/* ---- "Control_Surfaces": four markers that slide with the controls ---- */

/* One help text for each side of the picture; the two vertical markers share one. */
const uint32_t control_surfaces_help_vertical = 0xAB53;
const uint32_t control_surfaces_help_top = 0xAB5C;
const uint32_t control_surfaces_help_bottom = 0xAB78;

/* Scales in pixels per unit of the variable; an axis without a variable has 0. */
static SliderElement control_surfaces_sliders[] = {
    {{element_slider, picture_aileron_marker, 20, 44, {0, 0}, 0, 0, &control_surfaces_header, 0, 0, 0,
      image_flags_moving, 0, 0},
     variable_ref(no_variable), 0, 0.0, 0, variable_ref(var_aileron), 0, -100.0, {}},
    {{element_slider, picture_rudder_marker, 95, 6, {0, 0}, 0, 0, &control_surfaces_header, 0, 0, 0,
      image_flags_moving, 0, 0},
     variable_ref(var_rudder), 0, 100.0, 0, variable_ref(no_variable), 0, 0.0, {}},
    {{element_slider, picture_elevator_marker, 98, 46, {0, 0}, 0, 0, &control_surfaces_header, 0, 0, 0,
      image_flags_moving, 0, 0},
     variable_ref(no_variable), 0, 0.0, 0, variable_ref(var_elevator), 0, -70.0, {}},
    {{element_slider, picture_trim_marker, 94, 83, {0, 0}, 0, 0, &control_surfaces_header, 0, 0, 0,
      image_flags_moving, 0, 0},
     variable_ref(var_elevator_trim), 0, 80.0, 0, variable_ref(no_variable), 0, 0.0, {}},
};

static ElementBase *control_surfaces_children[] = {
    &control_surfaces_sliders[0].base, &control_surfaces_sliders[1].base,
    &control_surfaces_sliders[2].base, &control_surfaces_sliders[3].base, 0,
};

static StaticImageElement control_surfaces_picture = {
    {element_static_image, picture_control_surfaces, 0, 0, {0, 0}, 0, 0, &control_surfaces_header, 0,
     control_surfaces_children, 0, image_flags_background, 0, 0},
    {},
};

static ElementBase *control_surfaces_elements[] = {&control_surfaces_picture.base, 0};

/* Help only: one area over each marker, in marker order. */
static MouseArea control_surfaces_mouse[] = {
    {area_parent, 0, 0, 0, 0, cursor_none, 0, 0, 0, 0, 0},
    {area_parent, 0, 0, 44, 94, cursor_none, control_surfaces_help_vertical, 0, 0, 0, 0},
    {area_close, 0, 0, 0, 0, cursor_none, 0, 0, 0, 0, 0},
    {area_parent, 60, 0, 76, 16, cursor_none, control_surfaces_help_top, 0, 0, 0, 0},
    {area_close, 0, 0, 0, 0, cursor_none, 0, 0, 0, 0, 0},
    {area_parent, 82, 16, 32, 62, cursor_none, control_surfaces_help_vertical, 0, 0, 0, 0},
    {area_close, 0, 0, 0, 0, cursor_none, 0, 0, 0, 0, 0},
    {area_parent, 60, 78, 76, 16, cursor_none, control_surfaces_help_bottom, 0, 0, 0, 0},
    {area_close, 0, 0, 0, 0, cursor_none, 0, 0, 0, 0, 0},
    {area_close, 0, 0, 0, 0, cursor_none, 0, 0, 0, 0, 0},
    {area_end, 0, 0, 0, 0, cursor_none, 0, 0, 0, 0, 0},
};

GaugeHeader control_surfaces_header = {
    gauge_header_version, "Control_Surfaces", control_surfaces_elements, GAUGE_LIFECYCLE(control_surfaces_header),
    0, gauge_default_width_mm, {}, control_surfaces_mouse, {},
};

/* ---- "Fuel": a needle over a dial, 0 to 75 ---- */

const uint32_t fuel_help_id = 0xAB26;
const uint32_t fuel_turn_limit = 6;

/* The simulator's failure and action codes, then the end of the list. */
static const FailureRule fuel_failures[] = {{20, 2, 0}, {10, 1, 0}, {0, 0, 0}};

/* Writable, like every record here with host-owned fields: the simulator
 * fills the last 8 bytes of each point at run time. */
static ScalePoint fuel_dial[] = {
    {30, 182, 0.0, {0, 0}},
    {119, 47, 25.0, {0, 0}},
    {246, 93, 50.0, {0, 0}},
    {241, 221, 75.0, {0, 0}},
};

/* Pivot 6, 12 within the needle's picture, placed at the dial's centre. */
static NeedleElement fuel_needle = {
    {element_needle, picture_fuel_needle, 150, 150, {0, 0}, 6, 12, &fuel_header, 0, 0, fuel_failures,
     image_flags_moving, 0, 0},
    variable_ref(var_fuel_quantity), {}, fuel_dial, count_of(fuel_dial), fuel_turn_limit, {},
    fuel_needle_value, {},
};

static ElementBase *fuel_children[] = {&fuel_needle.base, 0};

static StaticImageElement fuel_picture = {
    {element_static_image, picture_fuel_dial, 9, 0, {0, 0}, 0, 0, &fuel_header, 0, fuel_children, fuel_failures,
     image_flags_background, 0, 0},
    {},
};

static ElementBase *fuel_elements[] = {&fuel_picture.base, 0};

static MouseArea fuel_mouse[] = {
    {area_parent, 0, 0, 0, 0, cursor_none, fuel_help_id, 0, 0, 0, 0},
    {area_close, 0, 0, 0, 0, cursor_none, 0, 0, 0, 0, 0},
    {area_end, 0, 0, 0, 0, cursor_none, 0, 0, 0, 0, 0},
};

GaugeHeader fuel_header = {
    gauge_header_version, "Fuel", fuel_elements, GAUGE_LIFECYCLE(fuel_header),
    0, gauge_default_width_mm, {}, fuel_mouse, {},
};

/* ---- "Fuel_Selector": a four-position knob that a click turns ---- */

static_assert(selector_knob_pictures == selector_positions, "one knob picture per position");

const uint32_t fuel_selector_help_id = 0xAB2D;
const uint32_t fuel_selector_switching = 3;

static IconElement fuel_selector_icon = {
    {element_icon, picture_selector_knob, 0, 0, {0, 0}, 0, 0, &fuel_selector_header, 0, 0, 0,
     image_flags_moving, 0, 0},
    variable_ref(var_fuel_selector), 0, fuel_selector_switching, {}, selector_knob_pictures, {},
    selector_icon_index,
};

static ElementBase *fuel_selector_children[] = {&fuel_selector_icon.base, 0};

static StaticImageElement fuel_selector_picture = {
    {element_static_image, picture_selector_knob, 0, 0, {0, 0}, 0, 0, &fuel_selector_header, 0,
     fuel_selector_children, 0, image_flags_knob_background, 0, 0},
    {},
};

static ElementBase *fuel_selector_elements[] = {&fuel_selector_picture.base, 0};

/* The whole knob, 39 x 48, turns on a left click. */
static MouseArea fuel_selector_mouse[] = {
    {area_parent, 0, 0, 0, 0, cursor_none, fuel_selector_help_id, 0, 0, 0, 0},
    {area_child, 0, 0, 39, 48, cursor_hand, 0, mouse_left_single, 0, selector_click, 0},
    {area_close, 0, 0, 0, 0, cursor_none, 0, 0, 0, 0, 0},
    {area_end, 0, 0, 0, 0, cursor_none, 0, 0, 0, 0, 0},
};

GaugeHeader fuel_selector_header = {
    gauge_header_version, "Fuel_Selector", fuel_selector_elements, GAUGE_LIFECYCLE(fuel_selector_header),
    0, gauge_default_width_mm, {}, fuel_selector_mouse, {},
};

/* ---- "Temperature": a three-digit readout and a unit marker ---- */

const uint32_t temperature_unit_switching = 0;
const uint32_t temperature_help_id = 0xAA1A;

const uint32_t readout_width = 60;
const uint32_t readout_height = 29;
const uint32_t readout_text_colour = RGB(255, 0, 0);
const uint32_t readout_background_colour = RGB(0, 0, 0);
const uint32_t readout_highlight_colour = RGB(92, 92, 92);
const uint32_t readout_draw_flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

static const FailureRule temperature_failures[] = {{20, 3, 0}, {0, 0, 0}};

/* The host points text at its own buffer before it calls temperature_text. */
static StringElement temperature_readout = {
    {element_string, no_bitmap, 28, 9, {0, 0}, 0, 0, &temperature_header, 0, 0, temperature_failures,
     image_flags_readout, 0, 0},
    {variable_ref(var_temperature), variable_ref(var_units_switch), variable_ref(no_variable)},
    {}, 0, 0, readout_width, readout_height, {},
    readout_text_colour, readout_background_colour, readout_highlight_colour, {},
    "Courier New", FW_NORMAL, DEFAULT_CHARSET, readout_draw_flags, temperature_digits, {},
    temperature_text, 0,
};

static IconElement temperature_units = {
    {element_icon, picture_unit_letter, 99, 9, {0, 0}, 0, 0, &temperature_header, 0, 0, temperature_failures,
     image_flags_plain, 0, 0},
    variable_ref(var_units_switch), 0, temperature_unit_switching, {}, unit_letter_pictures, {},
    units_icon_index,
};

static ElementBase *temperature_children[] = {&temperature_readout.base, &temperature_units.base, 0};

static StaticImageElement temperature_picture = {
    {element_static_image, picture_temperature, 0, 0, {0, 0}, 0, 0, &temperature_header, 0,
     temperature_children, 0, image_flags_background, 0, 0},
    {},
};

static ElementBase *temperature_elements[] = {&temperature_picture.base, 0};

static MouseArea temperature_mouse[] = {
    {area_parent, 0, 0, 0, 0, cursor_none, temperature_help_id, 0, 0, 0, 0},
    {area_close, 0, 0, 0, 0, cursor_none, 0, 0, 0, 0, 0},
    {area_end, 0, 0, 0, 0, cursor_none, 0, 0, 0, 0, 0},
};

GaugeHeader temperature_header = {
    gauge_header_version, "Temperature", temperature_elements, GAUGE_LIFECYCLE(temperature_header),
    0, gauge_default_width_mm, {}, temperature_mouse, {},
};
