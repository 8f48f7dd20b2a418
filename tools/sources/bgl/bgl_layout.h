/*
 * The byte layout of the sectioned BGL files, as far as the reader uses it:
 * every offset is from the start of its header, record or subrecord, all
 * values little-endian.  Shared by the reader's framing and its record
 * decoders (and by the tests' writer, which builds files from it).
 */
#ifndef PELMORA_TOOLS_BGL_LAYOUT_H
#define PELMORA_TOOLS_BGL_LAYOUT_H

#include <stdint.h>
#include <string.h>

namespace bgl {

/* ---- File header ---- */
enum : uint32_t {
    file_magic = 0x19920201,      /* first dword of every sectioned file */
    second_magic = 0x08051803,    /* at 0x10: seen in every compiled file, documented nowhere */
};
enum {
    header_magic = 0x00,
    header_size_field = 0x04,
    header_filetime = 0x08,
    header_second_magic = 0x10,
    header_section_count = 0x14,
    header_size = 0x38,           /* the section pointers start here, whatever 0x04 says */
};

/* ---- Section pointer (20 bytes each from header_size) ---- */
enum {
    section_type = 0,
    section_flags = 4,
    section_subsection_count = 8,
    section_table_offset = 12,
    section_table_size = 16,
    section_pointer_size = 20,
};
/* Entry size of a section's subsection table: 16, or 20 with flag bit 16. */
inline unsigned subsection_entry_size(uint32_t flags)
{
    return ((flags & 0x10000u) | 0x40000u) >> 14;
}

/* ---- Subsection entry ---- */
enum {
    subsection_id = 0,            /* a grid cell: not used */
    subsection_record_count = 4,
    subsection_records_offset = 8,
    subsection_records_size = 12,
};

/* ---- Section types read (all others are passed over) ---- */
enum : uint32_t {
    section_airports = 0x03,
    section_vor_ils = 0x13,
    section_ndbs = 0x17,
    section_markers = 0x18,
    section_name_list = 0x27,
    section_objects = 0x25,       /* never read; the tests' writer makes one */
    section_later = 0xAA,         /* a later simulator's section: counted, not read */
};

/* ---- Record and subrecord header: W id, D size including these 6 bytes ---- */
enum {
    record_id = 0,
    record_size = 2,
    record_header_size = 6,
};

/* Record and subrecord ids (per level). */
enum : uint16_t {
    id_airport_fs2004 = 0x0003,
    id_runway = 0x0004,
    id_start = 0x0011,
    id_com = 0x0012,
    id_vor_ils = 0x0013,
    id_localizer = 0x0014,
    id_glide_slope = 0x0015,
    id_dme = 0x0016,
    id_ndb = 0x0017,
    id_marker = 0x0018,
    id_name = 0x0019,
    id_taxi_point = 0x001A,
    id_parking = 0x001B,
    id_taxi_path = 0x001C,
    id_taxi_name = 0x001D,
    id_approach = 0x0024,
    id_helipad = 0x0026,
    id_name_list = 0x0027,
    id_apron = 0x0030,
    id_apron_edge_lights = 0x0031,
    id_delete_airport = 0x0033,
    id_apron2 = 0x0037,
    id_airport_fsx = 0x003C,
    id_parking_fsx = 0x003D,
    id_airport_later = 0x00AB,    /* a later simulator's airport form */
    id_later_record = 0x003E,     /* seen only in a later simulator's files */
};

/* ---- Airport record ---- */
enum {
    airport_runway_count = 0x06,
    airport_com_count = 0x07,
    airport_start_count = 0x08,
    airport_approach_count = 0x09,
    airport_apron_count = 0x0A,   /* bits 0-6; bit 7: has a DeleteAirport */
    airport_helipad_count = 0x0B,
    airport_longitude = 0x0C,
    airport_latitude = 0x10,
    airport_altitude = 0x14,      /* mm */
    airport_tower_longitude = 0x18,
    airport_tower_latitude = 0x1C,
    airport_tower_altitude = 0x20,
    airport_magvar = 0x24,        /* F, west positive */
    airport_ident = 0x28,         /* shifted */
    airport_fixed_fs2004 = 52,
    airport_fixed_fsx = 56,
    airport_traffic_scalar = 0x35,
};

/* ---- Runway subrecord ---- */
enum {
    runway_surface = 0x06,
    runway_primary_number = 0x08,
    runway_primary_designator = 0x09,
    runway_secondary_number = 0x0A,
    runway_secondary_designator = 0x0B,
    runway_primary_ils = 0x0C,    /* unshifted; 0 none */
    runway_secondary_ils = 0x10,
    runway_longitude = 0x14,
    runway_latitude = 0x18,
    runway_elevation = 0x1C,
    runway_length = 0x20,         /* F metres */
    runway_width = 0x24,
    runway_heading = 0x28,        /* F true, of the primary end */
    runway_pattern_altitude = 0x2C,
    runway_markings = 0x30,       /* W; bit 9 primary closed, 10 secondary closed */
    runway_lights = 0x32,
    runway_pattern_flags = 0x33,
    runway_fixed = 52,
};
enum { marking_primary_closed = 1u << 9, marking_secondary_closed = 1u << 10 };

/* ---- Helipad subrecord ---- */
enum { helipad_size = 0x24 };

/* ---- DeleteAirport subrecord ---- */
enum {
    delete_flags = 0x06,          /* W */
    delete_runway_count = 0x08,
    delete_start_count = 0x09,
    delete_frequency_count = 0x0A,
    delete_entries = 0x0C,        /* 4-byte entries: runways, starts, frequencies */
    delete_entry_size = 4,
};

/* ---- VOR/ILS record ---- */
enum {
    vor_type = 0x06,
    vor_flags = 0x07,
    vor_longitude = 0x08,
    vor_latitude = 0x0C,
    vor_elevation = 0x10,
    vor_frequency = 0x14,         /* Hz */
    vor_range = 0x18,
    vor_magvar = 0x1C,
    vor_ident = 0x20,             /* shifted */
    vor_region_airport = 0x24,    /* bits 0-10 region, 11-31 airport; unshifted */
    vor_fixed = 40,
};
enum {
    localizer_runway_number = 0x06,
    localizer_runway_designator = 0x07,
    localizer_heading = 0x08,     /* F true */
    localizer_width = 0x0C,
    localizer_size = 0x10,
    glide_slope_size = 0x1C,
    dme_size = 0x18,
};

/* ---- NDB record ---- */
enum {
    ndb_type = 0x06,              /* W */
    ndb_frequency = 0x08,
    ndb_longitude = 0x0C,
    ndb_latitude = 0x10,
    ndb_elevation = 0x14,
    ndb_range = 0x18,
    ndb_magvar = 0x1C,
    ndb_ident = 0x20,
    ndb_region_airport = 0x24,
    ndb_fixed = 40,
};

/* ---- Marker record (fixed 28 bytes: their size field's width is disputed) ---- */
enum {
    marker_type = 0x07,
    marker_longitude = 0x08,
    marker_latitude = 0x0C,
    marker_altitude = 0x10,
    marker_ident = 0x14,
    marker_region = 0x18,
    marker_size = 28,
};

/* ---- Name list record (its size field is 0: it spans its subsection) ---- */
enum {
    names_counts = 0x06,          /* six W: regions, countries, states, cities, airport names, ICAO entries */
    names_offsets = 0x12,         /* six D from record start, same order */
    names_fixed = 0x2A,
    names_airport_names = 4,
    names_icao_entries = 5,
    icao_entry_name = 6,          /* W index into the airport names */
    icao_entry_ident = 8,         /* D shifted */
    icao_entry_size = 20,
};

/* ---- Encodings ---- */
enum : uint32_t {
    longitude_limit = 805306368u, /* 3 * 2^28: values at or above are no place */
    latitude_limit = 536870912u,  /* 2^29: values above are no place */
};

inline uint16_t get16(const unsigned char *p) { return (uint16_t)(p[0] | p[1] << 8); }
inline uint32_t get32(const unsigned char *p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}
inline float getf(const unsigned char *p)
{
    uint32_t bits = get32(p);
    float value;
    memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace bgl

#endif
