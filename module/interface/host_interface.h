/*
 * The host interface: every record the simulator reads from the module, the
 * table of services it hands the module, and the key-event ids the module sends.
 *
 * Layout: on 32-bit Windows every record is exactly the simulator's layout
 * (32-bit words and pointers, 64-bit floats on 4-byte boundaries); the
 * static_asserts of record_layout.h, included at the end, hold every size
 * and offset.  Other builds keep the same fields in the same order with
 * their natural alignment, so the 64-bit module and host (and the native
 * tests) share these types.
 *
 * Fields named host_* or zero_* belong to the simulator or are always 0; the
 * module never reads or writes them.
 */
#ifndef PELMORA_HOST_INTERFACE_H
#define PELMORA_HOST_INTERFACE_H

#include <stddef.h>
#include <stdint.h>

/* The simulator's calling convention for everything it calls and everything
 * it offers: stdcall on 32-bit Windows, the platform's default elsewhere. */
#if defined(_WIN32) && !defined(_WIN64)
#ifdef PELMORA_WRONG_CALLING_CONVENTION
/* Only for the test build that proves the 32-bit run catches a mismatch. */
#define HOSTCALL __cdecl
#else
#define HOSTCALL __stdcall
#endif
#define PELMORA_RECORDS_32 1
#else
#define HOSTCALL
#define PELMORA_RECORDS_32 0
#endif

#if PELMORA_RECORDS_32
#pragma pack(push, 4)
#endif

/* ---- Key events ------------------------------------------------------- */

enum KeyEventId : uint32_t {
    key_nav1_frequency = 0x100AC,      /* BCD digits after the leading 1 of the MHz */
    key_adf_frequency = 0x100B2,       /* BCD whole kHz */
    key_nav1_course = 0x100B4,         /* degrees */
    key_ap_vertical_speed = 0x101F4,   /* feet per minute */
    key_ap_airspeed = 0x101F5,         /* knots */
    key_ap_mach = 0x101F6,             /* hundredths */
    key_ap_heading = 0x101FA,          /* degrees */
    key_ap_altitude = 0x1024C,         /* feet */
    key_fuel_selector_0 = 0x101A3,     /* key_fuel_selector_0 + k: selector to position k */
    key_fuel_selector_1 = 0x101A4,
    key_fuel_selector_2 = 0x101A5,
    key_fuel_selector_3 = 0x101A6,
};

/* ---- Simulator variables read by the sample gauges -------------------- */

enum SimVariableId : uint32_t {
    var_fuel_selector = 307,
    var_units_switch = 335,
    var_temperature = 350,
    var_fuel_quantity = 386,
    var_elevator = 782,
    var_aileron = 783,
    var_rudder = 784,
    var_elevator_trim = 786,
};

/* ---- Element kinds and records ---------------------------------------- */

enum ElementKind : uint32_t {
    element_static_image = 0,
    element_needle = 1,
    element_string = 2,
    element_slider = 3,
    element_icon = 4,
};

const uint32_t no_bitmap = 0xFFFFFFFFu;

/* The sample gauges' pictures: not in the module, the host draws its own for
 * these ids.  An icon's pictures are consecutive ids from its first.  Image
 * flags are the host's drawing flags, one value per role of an element. */
enum PictureId : uint32_t {
    picture_control_surfaces = 0x1300,
    picture_aileron_marker = 0x1400,
    picture_rudder_marker = 0x1500,
    picture_elevator_marker = 0x1600,
    picture_trim_marker = 0x1700,
    picture_fuel_dial = 0x1800,
    picture_fuel_needle = 0x2000,
    picture_selector_knob = 0x2100,     /* four positions, 0x2100 .. 0x2103 */
    picture_temperature = 0x2200,
    picture_unit_letter = 0x2300,       /* 0x2300 Fahrenheit, 0x2301 Celsius */
};
const uint32_t selector_knob_pictures = 4;
const uint32_t unit_letter_pictures = 2;
const uint32_t image_flags_background = 1;
const uint32_t image_flags_moving = 3;          /* sliders, needles, the knob */
const uint32_t image_flags_knob_background = 0x11;
const uint32_t image_flags_readout = 6;
const uint32_t image_flags_plain = 0;

struct GaugeHeader;
struct ElementBase;

/* A failure the host may apply to an element; a list ends with three zeros. */
struct FailureRule {
    uint32_t failure_code;
    uint32_t action_code;
    uint32_t zero;
};

/* How an element or callback names a simulator variable. */
struct VariableRef {
    uint32_t id;                /* 0 for none */
    uint32_t host_4[2];
    union {                     /* filled by the host */
        double number;
        int32_t integer;        /* integer-valued variables: first four bytes */
        uint32_t word;
    } value;
    uint32_t host_20[2];
};

/* The first 60 bytes of every element record. */
struct ElementBase {
    uint32_t kind;              /* ElementKind */
    uint32_t bitmap;            /* resource id, no_bitmap for none */
    int32_t x, y;               /* position in the gauge */
    uint32_t host_16[2];
    int32_t offset_x, offset_y; /* a needle's pivot within its picture */
    GaugeHeader *gauge;         /* the owning header */
    uint32_t host_36;
    ElementBase **children;     /* 0-terminated, or 0 */
    const FailureRule *failures;
    uint32_t image_flags;
    uint32_t zero_52;
    uint32_t zero_56;
};

struct StaticImageElement {
    ElementBase base;
    uint32_t host_60[9];
};

/* A dial point of a needle: where on the dial a value points. */
struct ScalePoint {
    int32_t x, y;
    double value;
    uint32_t host_16[2];
};

struct NeedleElement;
typedef double(HOSTCALL *NeedleCallback)(NeedleElement *element);

struct NeedleElement {
    ElementBase base;           /* offset_x/y: pivot within the needle picture */
    VariableRef variable;
    uint32_t zero_88[6];
    ScalePoint *scale;          /* writable: each point ends in host-owned bytes */
    uint32_t scale_count;
    uint32_t turn_limit;
    uint32_t host_124[25];
    NeedleCallback callback;
    uint32_t zero_228[2];
};

struct SliderElement {
    ElementBase base;
    VariableRef x_variable;     /* id 0: no movement along x */
    uint32_t zero_88;
    double x_scale;             /* pixels per unit */
    uint32_t zero_100;
    VariableRef y_variable;
    uint32_t zero_132;
    double y_scale;
    uint32_t host_144[12];
};

struct IconElement;
typedef double(HOSTCALL *IconCallback)(IconElement *element);

struct IconElement {
    ElementBase base;           /* bitmap: the first of the pictures */
    VariableRef variable;
    uint32_t zero_88;
    uint32_t switching_mode;
    uint32_t zero_96[4];
    uint32_t picture_count;
    uint32_t zero_116[4];
    IconCallback callback;      /* picture index, 0 .. picture_count - 1 */
};

struct StringElement;
typedef double(HOSTCALL *StringCallback)(StringElement *element);

const int font_face_room = 32;

struct StringElement {
    ElementBase base;
    VariableRef variables[3];
    uint32_t zero_144[10];
    char *text;                 /* host-owned: at least max_length + 1 bytes */
    uint32_t zero_188;
    uint32_t box_width, box_height;
    uint32_t zero_200[2];
    uint32_t text_colour;       /* 0x00BBGGRR */
    uint32_t background_colour;
    uint32_t highlight_colour;
    uint32_t host_220[7];
    char font_face[font_face_room];
    uint32_t font_weight;
    uint32_t char_set;
    uint32_t draw_flags;        /* DrawText flags */
    uint32_t max_length;
    uint32_t zero_296[4];
    StringCallback callback;
    uint32_t zero_316;
};

/* ---- Mouse areas ------------------------------------------------------ */

enum MouseAreaKind : uint32_t {
    area_end = 0,
    area_parent = 1,
    area_child = 2,
    area_close = 3,
};

const uint32_t mouse_left_single = 0x20000000u;
const int32_t cursor_none = -1;
const int32_t cursor_hand = 5;

/* The click position handed to a mouse callback, relative to its area. */
struct MousePoint {
    int32_t x, y;
};

typedef int32_t(HOSTCALL *MouseCallback)(MousePoint *point, uint32_t mouse_flags);

struct MouseArea {
    uint32_t kind;              /* MouseAreaKind */
    int32_t x, y, width, height;
    int32_t cursor;
    uint32_t help_id;
    uint32_t mouse_flags;
    uint32_t zero_32;
    MouseCallback callback;
    uint32_t zero_40;
};

/* ---- Gauge headers, linkage, import table ----------------------------- */

typedef void(HOSTCALL *LifecycleRoutine)(void);
typedef void(HOSTCALL *LifecycleRoutineValue)(uint32_t host_value);

const uint32_t gauge_header_version = 700;

struct GaugeHeader {
    uint32_t version;
    const char *name;
    ElementBase **elements;     /* 0-terminated; one top-level element here */
    LifecycleRoutine query;
    LifecycleRoutineValue install;
    LifecycleRoutine initialize;
    LifecycleRoutine update;
    LifecycleRoutineValue generate;
    LifecycleRoutine draw;
    LifecycleRoutine kill;
    uint32_t zero_40;
    uint32_t default_width_mm;
    uint32_t zero_48[8];
    MouseArea *mouse;
    uint32_t zero_84[9];
};

const int gauge_slots = 6;      /* five gauges, then 0 */

struct ModuleLinkage {
    uint32_t id;                /* 0x13 */
    LifecycleRoutine start;
    LifecycleRoutine stop;
    uint32_t zero_12[3];
    GaugeHeader *gauges[gauge_slots];
};

const uint32_t linkage_id = 0x13;
const uint32_t host_services_id = 0x0F;

/* ---- The simulator's services ----------------------------------------- */

typedef void(HOSTCALL *ElementService)(ElementBase *element);
typedef void(HOSTCALL *ElementServiceValue)(ElementBase *element, uint32_t host_value);

/* One slot per 32-bit word of the simulator's table; unused slots reserved. */
struct HostServices {
    void *reserved_0[24];
    ElementService query_elements;              /* slot 24, 0x60 */
    ElementServiceValue install_elements;       /* slot 25 */
    ElementService initialize_elements;         /* slot 26 */
    ElementService update_elements;             /* slot 27: value callbacks run */
    ElementServiceValue generate_elements;      /* slot 28 */
    ElementService draw_elements;               /* slot 29 */
    void *reserved_30;
    ElementService kill_elements;               /* slot 31, 0x7C */
    void *reserved_32[4];
    uint32_t(HOSTCALL *send_key_event)(uint32_t event_id, uint32_t value); /* slot 36, 0x90 */
    void *reserved_37[3];
    uint32_t(HOSTCALL *read_variable)(VariableRef *variable);             /* slot 40, 0xA0 */
    void *reserved_41[7];
};

struct ImportEntry {
    uint32_t id;
    HostServices *services;
};

struct ModuleImports {
    ImportEntry entries[2];     /* {0x0F, services}, then {0, 0} */
};

#if PELMORA_RECORDS_32
#pragma pack(pop)
#endif

/* Every size, offset and service slot the simulator relies on. */
#include "record_layout.h"

#endif
