#include "bgl_records.h"

#include <math.h>
#include <stdio.h>

#include "bgl_layout.h"

using namespace bgl;

/* ---- Encodings ---- */

static const unsigned ident_base = 38;
static const char ident_invalid = '?';

std::string bgl_ident(uint32_t packed)
{
    /* Code 0 is a blank, 1 is no character, 2-11 digits, 12-37 letters;
     * the first character is the most significant place. */
    std::string text;
    while (packed) {
        unsigned c = packed % ident_base;
        packed /= ident_base;
        char ch = c == 0 ? ' ' : c < 2 ? ident_invalid : c < 12 ? (char)('0' + c - 2)
                                                               : (char)('A' + c - 12);
        text.insert(text.begin(), ch);
    }
    size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(text.find_first_not_of(' '),
                                                                   end + 1 - text.find_first_not_of(' '));
}

uint32_t bgl_pack_ident(const std::string &ident)
{
    uint32_t packed = 0;
    for (char ch : ident) {
        unsigned c = 1;
        if (ch == ' ')
            c = 0;
        else if (ch >= '0' && ch <= '9')
            c = 2 + (unsigned)(ch - '0');
        else if (ch >= 'A' && ch <= 'Z')
            c = 12 + (unsigned)(ch - 'A');
        else if (ch >= 'a' && ch <= 'z')
            c = 12 + (unsigned)(ch - 'a');
        packed = packed * ident_base + c;
    }
    return packed;
}

double bgl_longitude(uint32_t value) { return value * 360.0 / (3.0 * (1u << 28)) - 180.0; }
double bgl_latitude(uint32_t value) { return 90.0 - value * 180.0 / (2.0 * (1u << 28)); }

double bgl_east_variation(double stored)
{
    double v = fmod(stored, 360.0);
    if (v < 0)
        v += 360.0;
    return v > 180.0 ? 360.0 - v : -v;
}

double bgl_magnetic_course(double true_heading, double stored)
{
    double course = fmod(true_heading + stored, 360.0);
    if (course < 0)
        course += 360.0;
    return course == 0 ? 360.0 : course;
}

namespace bgl {

void add_problem(BglFile *file, long offset, const std::string &what)
{
    /* A damaged file can hold a fault in every few bytes: the list is
     * bounded, the rest counted. */
    if (file->problems.size() < bgl_problem_room)
        file->problems.push_back(BglProblem{offset, what});
    else
        file->problems_unlisted++;
}

}  // namespace bgl

/* ---- Checks shared by the records ---- */

static bool place_ok(uint32_t latitude, uint32_t longitude)
{
    return latitude <= latitude_limit && longitude < longitude_limit;
}

static bool ident_ok(const std::string &ident)
{
    return !ident.empty() && ident.find(ident_invalid) == std::string::npos;
}

static bool heading_ok(float heading) { return isfinite(heading) && heading >= 0 && heading <= 360; }

static double metres_of_mm(const unsigned char *p) { return (int32_t)get32(p) / 1000.0; }

static std::string hex(unsigned long value)
{
    char text[24];
    snprintf(text, sizeof text, "0x%lX", value);
    return text;
}

/* The stored variation, or 0 (reported) when it is no angle at all. */
static double variation_of(const unsigned char *p, const std::string &what, long offset,
                           BglFile *file)
{
    float v = getf(p);
    if (!isfinite(v) || fabsf(v) > 360) {
        add_problem(file, offset, what + ": magnetic variation " + std::to_string(v) +
                                      " is no angle: taken as 0");
        return 0;
    }
    return v;
}

/* A name subrecord's text: from +6 to the first NUL or the subrecord's end
 * (names are padded with NULs to a multiple of 4 and may fill it). */
static std::string name_of(const unsigned char *sub, size_t size)
{
    const unsigned char *text = sub + record_header_size;
    size_t room = size - record_header_size, n = 0;
    while (n < room && text[n])
        n++;
    return std::string((const char *)text, n);
}

/* Calls take(id, subrecord, size, offset) for each subrecord from `from` to
 * `size`; a size that is under a header or runs past the parent stops the
 * walk with a problem (false). */
template <class Take>
static bool walk(const unsigned char *record, size_t from, size_t size, long offset,
                 const std::string &parent, BglFile *file, Take take)
{
    size_t at = from;
    while (at < size) {
        long here = offset + (long)at;
        if (size - at < record_header_size) {
            add_problem(file, here, parent + ": " + std::to_string(size - at) +
                                        " bytes left, too few for a subrecord: the rest not read");
            return false;
        }
        uint16_t id = get16(record + at);
        uint32_t sub = get32(record + at + record_size);
        if (sub < record_header_size || sub > size - at) {
            add_problem(file, here, parent + ": subrecord " + hex(id) + " of size " +
                                        std::to_string(sub) +
                                        (sub < record_header_size ? "" : ", past its record's end") +
                                        ": the rest not read");
            return false;
        }
        take(id, record + at, (size_t)sub, here);
        at += sub;
    }
    return true;
}

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

/* ---- VOR/ILS and NDB ---- */

static void region_and_airport(uint32_t packed, std::string *region, std::string *airport)
{
    *region = bgl_ident(packed & 0x7FF);
    *airport = bgl_ident(packed >> 11);
}

void bgl::decode_vor_ils(const unsigned char *record, size_t size, long offset, BglFile *file)
{
    if (size < vor_fixed) {
        add_problem(file, offset, "VOR/ILS record of " + std::to_string(size) +
                                      " bytes, shorter than one: skipped");
        return;
    }
    BglVorIls v;
    v.offset = offset;
    v.type = record[vor_type];
    v.flags = record[vor_flags];
    v.ident = bgl_ident(get32(record + vor_ident) >> 5);
    region_and_airport(get32(record + vor_region_airport), &v.region, &v.airport);
    v.frequency_hz = get32(record + vor_frequency);
    std::string what = "VOR/ILS " + (v.ident.empty() ? std::string("(no identifier)") : v.ident);
    uint32_t lon = get32(record + vor_longitude), lat = get32(record + vor_latitude);
    const unsigned long lowest = 108000000, highest = 117950000;
    const char *bad = !ident_ok(v.ident) ? "identifier unreadable"
                      : v.type < BglVorIls::terminal || v.type > BglVorIls::vot ? "type unknown"
                      : !place_ok(lat, lon) ? "no place"
                      : v.frequency_hz < lowest || v.frequency_hz > highest
                          ? "frequency not 108.00-117.95 MHz"
                          : 0;
    if (bad) {
        add_problem(file, offset, what + ": " + bad + ": skipped");
        return;
    }
    v.latitude = bgl_latitude(lat);
    v.longitude = bgl_longitude(lon);
    v.elevation_m = metres_of_mm(record + vor_elevation);
    float range = getf(record + vor_range);
    v.range_m = isfinite(range) && range > 0 ? range : 0;
    v.magnetic_variation = variation_of(record + vor_magvar, what, offset, file);
    bool keep = true;
    walk(record, vor_fixed, size, offset, what, file,
         [&](uint16_t id, const unsigned char *sub, size_t sub_size, long here) {
             if (id == id_localizer) {
                 float heading = sub_size >= localizer_size ? getf(sub + localizer_heading) : -1;
                 if (!heading_ok(heading)) {
                     add_problem(file, here, what + ": localizer heading not 0-360: skipped");
                     keep = false;
                     return;
                 }
                 v.has_localizer = true;
                 v.localizer_runway_number = sub[localizer_runway_number];
                 v.localizer_runway_designator = sub[localizer_runway_designator];
                 v.localizer_heading = heading;
                 float width = getf(sub + localizer_width);
                 v.localizer_width = isfinite(width) && width > 0 ? width : 0;
             } else if (id == id_glide_slope)
                 v.has_glide_slope = true;
             else if (id == id_dme)
                 v.has_dme = true;
             else if (id == id_name)
                 v.name = name_of(sub, sub_size);
         });
    if (keep)
        file->vor_ils.push_back(v);
}

void bgl::decode_ndb(const unsigned char *record, size_t size, long offset, BglFile *file)
{
    if (size < ndb_fixed) {
        add_problem(file, offset, "NDB record of " + std::to_string(size) +
                                      " bytes, shorter than one: skipped");
        return;
    }
    BglNdb n;
    n.offset = offset;
    n.type = get16(record + ndb_type);
    n.frequency = get32(record + ndb_frequency);
    n.ident = bgl_ident(get32(record + ndb_ident) >> 5);
    region_and_airport(get32(record + ndb_region_airport), &n.region, &n.airport);
    std::string what = "NDB " + (n.ident.empty() ? std::string("(no identifier)") : n.ident);
    uint32_t lon = get32(record + ndb_longitude), lat = get32(record + ndb_latitude);
    /* Hz by the files' other frequencies; kHz accepted, as no document says. */
    bool in_band = (n.frequency >= 190000 && n.frequency <= 1750000) ||
                   (n.frequency >= 190 && n.frequency <= 1750);
    const char *bad = !ident_ok(n.ident) ? "identifier unreadable"
                      : !place_ok(lat, lon) ? "no place"
                      : !in_band ? "frequency not 190-1750 kHz"
                      : 0;
    if (bad) {
        add_problem(file, offset, what + ": " + bad + ": skipped");
        return;
    }
    n.latitude = bgl_latitude(lat);
    n.longitude = bgl_longitude(lon);
    n.elevation_m = metres_of_mm(record + ndb_elevation);
    float range = getf(record + ndb_range);
    n.range_m = isfinite(range) && range > 0 ? range : 0;
    n.magnetic_variation = variation_of(record + ndb_magvar, what, offset, file);
    walk(record, ndb_fixed, size, offset, what, file,
         [&](uint16_t id, const unsigned char *sub, size_t sub_size, long) {
             if (id == id_name)
                 n.name = name_of(sub, sub_size);
         });
    file->ndbs.push_back(n);
}

/* ---- Name list ---- */

void bgl::decode_name_list(const unsigned char *record, size_t size, long offset,
                           BglFile *file, AirportNames *names)
{
    if (size < names_fixed) {
        add_problem(file, offset, "name list of " + std::to_string(size) + " bytes: not read");
        return;
    }
    uint64_t name_count = get16(record + names_counts + 2 * names_airport_names);
    uint64_t entry_count = get16(record + names_counts + 2 * names_icao_entries);
    uint64_t index = get32(record + names_offsets + 4 * names_airport_names);
    uint64_t entries = get32(record + names_offsets + 4 * names_icao_entries);
    uint64_t text = index + 4 * name_count;
    if (text > size || entries + entry_count * icao_entry_size > size) {
        add_problem(file, offset, "name list: its airport names or entries lie past its end: not read");
        return;
    }
    for (uint64_t i = 0; i < entry_count; i++) {
        const unsigned char *e = record + entries + i * icao_entry_size;
        unsigned which = get16(e + icao_entry_name);
        if (which >= name_count)
            continue;
        uint64_t at = text + get32(record + index + 4 * which);
        if (at >= size)
            continue;
        size_t n = 0;
        while (at + n < size && record[at + n])
            n++;
        std::string ident = bgl_ident(get32(e + icao_entry_ident) >> 5);
        if (ident_ok(ident) && n > 0)
            (*names)[ident] = std::string((const char *)record + at, n);
    }
}
