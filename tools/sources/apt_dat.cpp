/* The apt.dat reader: a row-code switch over the rows of each airport. */
#include <math.h>

#include "common/geometry.h"
#include "surfaces.h"
#include "common/tokens.h"
#include "xplane_file.h"

/* ======================================================================
 * apt.dat
 * ====================================================================== */

static const long apt_versions[] = {850, 1000, 1050, 1100, 1130, 1200};

/* Row codes that this reader handles. */
enum AptRowCode : long {
    apt_land_airport = 1,               /* header of a land airport */
    apt_seaplane_base = 16,             /* header of a seaplane base */
    apt_heliport = 17,                  /* header of a heliport */
    apt_land_runway = 100,              /* a land runway with both its ends */
    apt_water_runway = 101,             /* a water runway with both its ends */
    apt_metadata = 1302,                /* one fact about the airport: key, value (1100 on) */
};

/* Row codes of the format that carry nothing the data files need. */
static const long apt_unused_rows[] = {
    10,                                 /* taxiway segment, old style (before 850) */
    14,                                 /* tower viewpoint */
    15,                                 /* ramp start (850) */
    18,                                 /* airport beacon */
    19,                                 /* windsock */
    20,                                 /* taxiway sign */
    21,                                 /* approach lighting (VASI, PAPI) */
    50, 51, 52, 53, 54, 55, 56,         /* ATC frequencies, 25 kHz */
    102,                                /* helipad: not listed as a runway */
    110, 111, 112, 113, 114, 115, 116,  /* pavement outlines and their nodes */
    120,                                /* linear feature */
    130,                                /* airport boundary */
    1000, 1001, 1002, 1003, 1004,       /* traffic flow and its rules */
    1050, 1051, 1052, 1053, 1054, 1055, 1056,   /* ATC frequencies, 8.33 kHz */
    1100, 1101, 1110,                   /* runways in use, VFR pattern */
    1200, 1201, 1202, 1204, 1206,       /* taxi routing network */
    1300, 1301,                         /* start locations and their metadata */
    1400, 1401,                         /* ground vehicle parking, destinations */
};

/* Airport header.
 *   1    433 1 0 KSEA Seattle-Tacoma Intl                     */
enum AirportHeaderColumn {
    header_row_code,
    header_elevation,                   /* feet */
    header_tower,                       /* 1 when the airport has a tower (old) */
    header_unused,
    header_ident,
    header_name,                        /* to the end of the line */
    header_min_fields = header_ident + 1
};

/* Land runway: common fields, then the same nine for each end.
 *   100 45.72 1 0 0.25 1 3 1 16L 47.46380556 -122.30777778 0.00 100.89 3 2 0 1 34R 47.43147222 -122.30796111 0.00 0.00 3 2 0 1 */
enum LandRunwayColumn {
    land_row_code,
    land_width,                         /* metres */
    land_surface,                       /* surface code, see is_hard_surface */
    land_shoulder,
    land_smoothness,
    land_centre_lights,
    land_edge_lights,
    land_distance_signs,
    land_first_end,
    land_end_columns = 9,
    land_field_count = land_first_end + 2 * land_end_columns
};

/* Water runway: a lane with an end at each side.
 *   101 49.00 1 08 35.04420900 -106.59855700 26 35.04420911 -106.59855711 */
enum WaterRunwayColumn {
    water_row_code,
    water_width,                        /* metres */
    water_buoys,
    water_first_end,
    water_end_columns = 3,
    water_field_count = water_first_end + 2 * water_end_columns
};

/* The first fields of a runway end, in both runway rows. */
enum RunwayEndColumn {
    end_designator,                     /* e.g. 16L */
    end_latitude,                       /* of the threshold, degrees */
    end_longitude
};

/* Airport metadata (1100 on).
 *   1302 icao_code KSEA                                        */
enum MetadataColumn {
    metadata_row_code,
    metadata_key,
    metadata_value,                     /* to the end of the line; may be missing */
    metadata_min_fields = metadata_key + 1
};

/* apt.dat marks a closed airport by this prefix of its name. */
static const char closed_marker[] = "[X]";

/* FlightGear's apt.dat marks the kind of seaplane bases and heliports by a
 * prefix of the name ("[S] BULL HARBOR SPB", "[H] ..."), which the header's
 * row code says already: it is no part of the name. */
static std::string without_kind_marker(std::string_view name)
{
    for (std::string_view marker : {"[S]", "[H]"})
        if (name.substr(0, marker.size()) == marker) {
            name.remove_prefix(marker.size());
            while (!name.empty() && (name.front() == ' ' || name.front() == '\t'))
                name.remove_prefix(1);
            break;
        }
    return std::string(name);
}

class AptReader {
public:
    AptReader(Converter &converter, XPlaneFile &file) : converter_(converter), file_(file) {}

    bool on_header(long code, const Fields &f);
    bool on_land_runway(long code, const Fields &f);
    bool on_water_runway(long code, const Fields &f);
    bool on_metadata(long code, const Fields &f);

    /* Hands the current airport, if any, to the converter. */
    void finish_airport();
    bool takes_rows() const { return state_ == State::reading; }

private:
    bool add_runway(const Fields &f, size_t first_end, size_t end_columns);

    enum class State { none, reading, skipping };
    Converter &converter_;
    XPlaneFile &file_;
    State state_ = State::none;
    Airport airport_;
    bool position_from_datum_ = false;
    double datum_lat_ = 0, datum_lon_ = 0;
    bool has_datum_lat_ = false, has_datum_lon_ = false;
};

void AptReader::finish_airport()
{
    if (state_ == State::reading) {
        if (has_datum_lat_ && has_datum_lon_ && fabs(datum_lat_) <= 90 && fabs(datum_lon_) <= 180) {
            airport_.has_position = true;
            airport_.latitude = datum_lat_;
            airport_.longitude = datum_lon_;
        }
        converter_.add_airport(airport_);
    }
    state_ = State::none;
}

bool AptReader::on_header(long code, const Fields &f)
{
    finish_airport();
    if (f.size() < header_min_fields) {
        state_ = State::skipping;
        file_.bad_row("airport header has " + std::to_string(f.size()) + " fields, at least " +
                      std::to_string((int)header_min_fields) +
                      " expected: the airport is skipped");
        return false;
    }
    airport_ = Airport();
    airport_.source = file_.here();
    airport_.ident = std::string(f[header_ident]);
    airport_.name = without_kind_marker(f.rest(header_name));
    airport_.kind = code == apt_seaplane_base ? AirportKind::seaplane_base
                    : code == apt_heliport    ? AirportKind::heliport
                                              : AirportKind::land;
    airport_.closed = airport_.name.compare(0, sizeof closed_marker - 1, closed_marker) == 0;
    has_datum_lat_ = has_datum_lon_ = false;
    state_ = State::reading;
    return true;
}

bool AptReader::add_runway(const Fields &f, size_t first_end, size_t end_columns)
{
    RunwayEnd ends[2];
    double lat[2], lon[2];
    for (int e = 0; e < 2; e++) {
        size_t base = first_end + e * end_columns;
        ends[e].designator = std::string(f[base + end_designator]);
        if (!parse_position(f[base + end_latitude], f[base + end_longitude], &lat[e], &lon[e])) {
            file_.bad_row("runway " + ends[e].designator + ": bad threshold position");
            return false;
        }
    }
    double metres = distance_metres(lat[0], lon[0], lat[1], lon[1]);
    for (int e = 0; e < 2; e++) {
        ends[e].length_ft = metres_to_feet(metres);
        ends[e].has_position = true;
        ends[e].latitude = lat[e];
        ends[e].longitude = lon[e];
        ends[e].has_far_end = true;
        ends[e].far_latitude = lat[1 - e];
        ends[e].far_longitude = lon[1 - e];
        if (metres >= 1)
            ends[e].heading = bearing_degrees(lat[e], lon[e], lat[1 - e], lon[1 - e]);
        airport_.ends.push_back(ends[e]);
    }
    if (!airport_.has_position) {
        airport_.has_position = true;
        airport_.latitude = (lat[0] + lat[1]) / 2;
        airport_.longitude = (lon[0] + lon[1]) / 2;
    }
    return true;
}

bool AptReader::on_land_runway(long, const Fields &f)
{
    if (f.size() < land_field_count) {
        file_.bad_row("land runway has " + std::to_string(f.size()) + " fields, " +
                      std::to_string((int)land_field_count) + " expected");
        return false;
    }
    long surface;
    if (!parse_long(f[land_surface], &surface)) {
        file_.bad_row("land runway: bad surface code");
        return false;
    }
    if (!add_runway(f, land_first_end, land_end_columns))
        return false;
    if (surface_kind(surface) == SurfaceKind::hard)
        airport_.has_hard_runway = true;
    return true;
}

bool AptReader::on_water_runway(long, const Fields &f)
{
    if (f.size() < water_field_count) {
        file_.bad_row("water runway has " + std::to_string(f.size()) + " fields, " +
                      std::to_string((int)water_field_count) + " expected");
        return false;
    }
    return add_runway(f, water_first_end, water_end_columns);
}

bool AptReader::on_metadata(long, const Fields &f)
{
    if (f.size() < metadata_min_fields) {
        file_.bad_row("airport metadata without a key");
        return false;
    }
    std::string_view key = f[metadata_key];
    std::string_view value = f.rest(metadata_value);
    if (key == "icao_code")
        airport_.icao = std::string(value);
    else if (key == "country")
        airport_.country = std::string(value);
    else if (key == "datum_lat")
        has_datum_lat_ = parse_double(value, &datum_lat_);
    else if (key == "datum_lon")
        has_datum_lon_ = parse_double(value, &datum_lon_);
    return true;
}

typedef bool (AptReader::*AptHandler)(long code, const Fields &f);
struct AptRow {
    long code;
    AptHandler handler;
};
static const AptRow apt_rows[] = {
    {apt_land_airport, &AptReader::on_header},
    {apt_seaplane_base, &AptReader::on_header},
    {apt_heliport, &AptReader::on_header},
    {apt_land_runway, &AptReader::on_land_runway},
    {apt_water_runway, &AptReader::on_water_runway},
    {apt_metadata, &AptReader::on_metadata},
};

static bool is_airport_header(long code)
{
    return code == apt_land_airport || code == apt_seaplane_base || code == apt_heliport;
}

bool read_apt_dat(const std::string &path, Converter &converter, Report &report,
                  ReadOutcome *outcome)
{
    XPlaneFile file(report, outcome);
    if (!file.open(path, "apt.dat", apt_versions, sizeof apt_versions / sizeof *apt_versions))
        return false;
    AptReader reader(converter, file);
    long code;
    Fields f;
    bool first = true;
    while (file.next_row(&code, &f)) {
        if (first && !is_airport_header(code)) {
            outcome->fatal = path + ":" + std::to_string(outcome->lines) +
                             ": not an apt.dat file: the first row is not an airport header";
            return false;
        }
        first = false;
        const AptRow *row = nullptr;
        for (const AptRow &r : apt_rows)
            if (r.code == code)
                row = &r;
        if (!row) {
            file.pass_over(code, is_known(code, apt_unused_rows,
                                          sizeof apt_unused_rows / sizeof *apt_unused_rows));
            continue;
        }
        /* Rows of an airport whose header was bad belong to no airport. */
        if (!is_airport_header(code) && !reader.takes_rows())
            continue;
        f.assign(f.line());
        (reader.*(row->handler))(code, f);
    }
    if (!outcome->fatal.empty())
        return false;
    reader.finish_airport();
    file.finish();
    return true;
}

