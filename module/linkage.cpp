/*
 * The records the simulator reads: the linkage with its gauge table, and the
 * selection gauge "V1".
 */
#include <windows.h>

#include "../gauges/sample_gauges.h"
#include "../selection/launcher.h"
#include "../selection/selection_ids.h"
#include "interface/lifecycle.h"

extern GaugeHeader v1_header;

static void HOSTCALL module_open() {}
static void HOSTCALL module_close() {}

extern "C" {
ModuleLinkage Linkage = {
    linkage_id,
    module_open,
    module_close,
    {0, 0, 0},
    {&v1_header, &control_surfaces_header, &fuel_header, &fuel_selector_header, &temperature_header, 0},
};
}

/* ---- "V1": the selection button, a 90 x 25 picture ---- */

const uint32_t v1_help_id = 0xAB0D;

static StaticImageElement v1_picture = {
    {element_static_image, IDB_V1_GAUGE, 0, 0, {0, 0}, 0, 0, &v1_header, 0, 0, 0, 1, 0, 0},
    {},
};

static ElementBase *v1_elements[] = {&v1_picture.base, 0};

/* The click area covers the left 80 of the picture's 90 columns. */
static MouseArea v1_mouse[] = {
    {area_parent, 0, 0, 0, 0, cursor_none, v1_help_id, 0, 0, 0, 0},
    {area_child, 0, 0, 80, 25, cursor_hand, 0, mouse_left_single, 0, open_selection_window, 0},
    {area_close, 0, 0, 0, 0, cursor_none, 0, 0, 0, 0, 0},
    {area_end, 0, 0, 0, 0, cursor_none, 0, 0, 0, 0, 0},
};

GaugeHeader v1_header = {
    gauge_header_version, "V1", v1_elements, GAUGE_LIFECYCLE(v1_header),
    0, gauge_default_width_mm, {}, v1_mouse, {},
};
