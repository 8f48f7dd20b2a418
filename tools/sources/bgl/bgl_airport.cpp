/*
 * The airport records of the BGL reader, in both forms: the fixed part
 * (52 or 56 bytes, probed), then its subrecords: the name, runways,
 * helipads (counted) and DeleteAirport; all others passed over by size.
 */
#include <math.h>

#include "bgl_layout.h"
#include "bgl_records.h"

using namespace bgl;

/* ---- Airports ---- */

static bool airport_subrecord(uint16_t id)
{
    switch (id) {
    case id_runway: case id_start: case id_com: case id_name: case id_taxi_point:
    case id_parking: case id_taxi_path: case id_taxi_name: case id_approach: case id_helipad:
    case id_apron: case id_apron_edge_lights: case id_delete_airport: case id_apron2:
    case id_parking_fsx:
        return true;
    }
    return false;
}

/* Whether the airport's fixed part can be `fixed` bytes long: the record
 * ends there, or a subrecord known at this level starts there and fits. */
static bool fixed_part_fits(const unsigned char *record, size_t size, size_t fixed)
{
    if (fixed > size)
        return false;
    if (fixed == size)
        return true;
    if (size - fixed < record_header_size)
        return false;
    uint32_t sub = get32(record + fixed + record_size);
    return airport_subrecord(get16(record + fixed)) && sub >= record_header_size &&
           sub <= size - fixed;
}

static void decode_runway(const unsigned char *sub, size_t size, long offset,
                          const std::string &airport, BglAirport *a, BglFile *file)
{
    std::string what = airport + ": runway at " + std::to_string(offset);
    if (size < runway_fixed) {
        add_problem(file, offset, what + ": " + std::to_string(size) +
                                      " bytes, shorter than a runway: skipped");
        return;
    }
    BglRunway r;
    r.offset = offset;
    r.surface = get16(sub + runway_surface);
    r.primary_number = sub[runway_primary_number];
    r.primary_designator = sub[runway_primary_designator];
    r.secondary_number = sub[runway_secondary_number];
    r.secondary_designator = sub[runway_secondary_designator];
    what = airport + ": runway " + std::to_string(r.primary_number) + "/" +
           std::to_string(r.secondary_number);
    uint32_t lon = get32(sub + runway_longitude), lat = get32(sub + runway_latitude);
    float heading = getf(sub + runway_heading), length = getf(sub + runway_length);
    float width = getf(sub + runway_width);
    const int last_number = 44;  /* 37-44: N, NE, E, SE, S, SW, W, NW */
    const char *bad = !place_ok(lat, lon) ? "no place"
                      : !heading_ok(heading) ? "heading not 0-360"
                      : !(isfinite(length) && length > 0) ? "length not above 0"
                      : r.primary_number < 1 || r.primary_number > last_number ||
                                r.secondary_number < 1 || r.secondary_number > last_number
                          ? "runway number not 1-44"
                          : 0;
    if (bad) {
        add_problem(file, offset, what + ": " + bad + ": skipped");
        return;
    }
    const int last_designator = 4;
    if (r.primary_designator > last_designator || r.secondary_designator > last_designator) {
        add_problem(file, offset, what + ": designator " +
                                      std::to_string(r.primary_designator) + "/" +
                                      std::to_string(r.secondary_designator) +
                                      " unknown: taken as none");
        if (r.primary_designator > last_designator)
            r.primary_designator = 0;
        if (r.secondary_designator > last_designator)
            r.secondary_designator = 0;
    }
    r.primary_ils = bgl_ident(get32(sub + runway_primary_ils));
    r.secondary_ils = bgl_ident(get32(sub + runway_secondary_ils));
    for (std::string *ils : {&r.primary_ils, &r.secondary_ils})
        if (!ils->empty() && !ident_ok(*ils)) {
            add_problem(file, offset, what + ": ILS identifier unreadable: taken as none");
            ils->clear();
        }
    r.latitude = bgl_latitude(lat);
    r.longitude = bgl_longitude(lon);
    r.elevation_m = metres_of_mm(sub + runway_elevation);
    r.length_m = length;
    r.width_m = isfinite(width) && width > 0 ? width : 0;
    r.heading = heading;
    unsigned markings = get16(sub + runway_markings);
    r.primary_closed = (markings & marking_primary_closed) != 0;
    r.secondary_closed = (markings & marking_secondary_closed) != 0;
    a->runways.push_back(r);
}

static void decode_deletion(const unsigned char *sub, size_t size, long offset,
                            const std::string &airport, BglAirport *a, BglFile *file)
{
    if (size < delete_entries) {
        add_problem(file, offset, airport + ": DeleteAirport of " + std::to_string(size) +
                                      " bytes: read as deleting nothing");
        a->deletions.push_back(BglDeletion());
        return;
    }
    BglDeletion d;
    d.flags = get16(sub + delete_flags) & 0xFF;
    size_t runways = sub[delete_runway_count];
    size_t entries = runways + sub[delete_start_count] + sub[delete_frequency_count];
    if (delete_entries + entries * delete_entry_size > size) {
        add_problem(file, offset, airport + ": DeleteAirport lists " + std::to_string(entries) +
                                      " entries, more than its " + std::to_string(size) +
                                      " bytes hold: those that fit are read");
        if (runways > (size - delete_entries) / delete_entry_size)
            runways = (size - delete_entries) / delete_entry_size;
    }
    for (size_t i = 0; i < runways; i++) {
        const unsigned char *e = sub + delete_entries + i * delete_entry_size;
        BglDeletion::Runway r;
        r.primary_number = e[1];
        r.secondary_number = e[2];
        r.primary_designator = e[3] & 0x0F;
        r.secondary_designator = e[3] >> 4;
        d.runways.push_back(r);
    }
    a->deletions.push_back(d);
}

void bgl::decode_airport(const unsigned char *record, size_t size, long offset, BglFile *file)
{
    uint16_t id = get16(record);
    size_t fixed = id == id_airport_fsx ? airport_fixed_fsx : airport_fixed_fs2004;
    size_t other = id == id_airport_fsx ? airport_fixed_fs2004 : airport_fixed_fsx;
    if (!fixed_part_fits(record, size, fixed)) {
        if (fixed_part_fits(record, size, other))
            fixed = other;
        else if (size < airport_fixed_fs2004) {
            add_problem(file, offset, "airport record of " + std::to_string(size) +
                                          " bytes, shorter than an airport: skipped");
            return;
        } else if (size < fixed)
            fixed = other;
    }
    BglAirport a;
    a.offset = offset;
    a.fsx_form = id == id_airport_fsx;
    a.ident = bgl_ident(get32(record + airport_ident) >> 5);
    uint32_t lon = get32(record + airport_longitude), lat = get32(record + airport_latitude);
    if (!ident_ok(a.ident) || !place_ok(lat, lon)) {
        add_problem(file, offset, "airport " + (a.ident.empty() ? std::string("(no identifier)")
                                                                : a.ident) +
                                      (ident_ok(a.ident) ? ": no place" : ": identifier unreadable") +
                                      ": skipped");
        return;
    }
    a.latitude = bgl_latitude(lat);
    a.longitude = bgl_longitude(lon);
    a.elevation_m = metres_of_mm(record + airport_altitude);
    std::string what = "airport " + a.ident;
    a.magnetic_variation = variation_of(record + airport_magvar, what, offset, file);

    int runways_found = 0;
    walk(record, fixed, size, offset, what, file,
         [&](uint16_t sub_id, const unsigned char *sub, size_t sub_size, long here) {
             if (sub_id == id_name)
                 a.name = name_of(sub, sub_size);
             else if (sub_id == id_runway) {
                 runways_found++;
                 decode_runway(sub, sub_size, here, what, &a, file);
             } else if (sub_id == id_helipad)
                 a.helipads++;
             else if (sub_id == id_delete_airport)
                 decode_deletion(sub, sub_size, here, what, &a, file);
         });
    int runways_said = record[airport_runway_count], helipads_said = record[airport_helipad_count];
    if (runways_said != runways_found || helipads_said != a.helipads)
        add_problem(file, offset, what + ": says " + std::to_string(runways_said) +
                                      " runways and " + std::to_string(helipads_said) +
                                      " helipads, holds " + std::to_string(runways_found) +
                                      " and " + std::to_string(a.helipads));
    file->airports.push_back(a);
}
