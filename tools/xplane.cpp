#include "xplane.h"

#include <math.h>

#include <map>

#include "line_reader.h"
#include "surfaces.h"
#include "geometry.h"
#include "tokens.h"

/* ======================================================================
 * The frame both files share
 *
 *   I                                   origin: I (PC) or A (Mac)
 *   1100 Version - data cycle 2019.01, build 20190101, metadata AptXP1100.
 *   ...rows: a numeric row code, then fields separated by blanks...
 *   99                                  the end; nothing after it is read
 * ====================================================================== */

static const long row_end = 99;
static const long progress_every_lines = 8192;

class XPlaneFile {
public:
    XPlaneFile(Report &report, ReadOutcome *outcome) : report_(report), outcome_(outcome) {}

    /* Opens the file and reads its two header lines; kind names the format in
     * messages.  False, with the outcome's fatal message, when the file is
     * not of a supported version. */
    bool open(const std::string &path, const char *kind, const long *versions, size_t count);
    bool next_content(Fields *fields);
    long version() const { return version_; }

    /* The next data row, blank lines and # comments skipped.  False at the
     * closing 99, or with the outcome's fatal message set when the file ends
     * before it or its data is damaged. */
    bool next_row(long *code, Fields *fields);

    void bad_row(const std::string &reason) { report_.error(in_.path(), in_.line_number(), reason); }
    /* A row of a code this reader does not use, counted by code. */
    void pass_over(long code, bool known);
    void finish();
    SourceLine here() const { return SourceLine{in_.path(), in_.line_number()}; }

private:
    void fail(const std::string &reason);

    Report &report_;
    ReadOutcome *outcome_;
    LineReader in_;
    long version_ = 0;
    bool without_end_ = false;
    struct Unused {
        long first_line = 0, rows = 0;
        bool known = true;
    };
    std::map<long, Unused> unused_;
};

void XPlaneFile::fail(const std::string &reason)
{
    outcome_->fatal = in_.path() + ":" + std::to_string(in_.line_number()) + ": " + reason;
    outcome_->lines = in_.line_number();
}

/* The next line that is neither blank nor a # comment; false at the end. */
bool XPlaneFile::next_content(Fields *fields)
{
    std::string_view line;
    while (in_.next(&line)) {
        /* A byte-order mark is no part of the first line's text. */
        if (in_.line_number() == 1 && line.substr(0, 3) == "\xEF\xBB\xBF")
            line.remove_prefix(3);
        fields->assign(line);
        if (fields->size() > 0 && (*fields)[0][0] != '#')
            return true;
    }
    return false;
}

bool XPlaneFile::open(const std::string &path, const char *kind, const long *versions,
                      size_t count)
{
    if (!in_.open(path)) {
        outcome_->fatal = path + ": " + in_.error();
        return false;
    }
    /* Files come with or without the origin letter (I for PC, A for Mac)
     * and with blank or comment lines before the version line. */
    Fields head;
    bool got = next_content(&head);
    if (got && head.size() == 1 && (head[0] == "I" || head[0] == "A"))
        got = next_content(&head);
    if (!got || !parse_long(head[0], &version_) || version_ < 100) {
        fail(in_.failed() ? in_.error()
                          : std::string("not an ") + kind +
                                " file: a version line (e.g. 1100 Version ...) is expected,"
                                " after an optional I or A line");
        return false;
    }
    for (size_t i = 0; i < count; i++)
        if (versions[i] == version_)
            return true;
    std::string supported;
    for (size_t i = 0; i < count; i++)
        supported += (i ? ", " : "") + std::to_string(versions[i]);
    fail(std::string("unsupported ") + kind + " version " + std::to_string(version_) +
         " (this converter reads " + supported + ")");
    return false;
}

bool XPlaneFile::next_row(long *code, Fields *fields)
{
    std::string_view line;
    while (in_.next(&line)) {
        outcome_->lines = in_.line_number();
        if (in_.line_number() % progress_every_lines == 0)
            report_.progress(in_);
        fields->assign(line);
        if (fields->size() == 0 || (*fields)[0][0] == '#')
            continue;
        if (in_.line_was_cut()) {
            bad_row("line longer than " + std::to_string(LineReader::line_room) +
                    " characters: skipped");
            continue;
        }
        if (!parse_long((*fields)[0], code)) {
            bad_row("row code '" + std::string((*fields)[0].substr(0, 16)) + "' is not a number");
            continue;
        }
        if (*code == row_end)
            return false;
        return true;
    }
    report_.end_progress();
    if (in_.failed())
        fail(in_.error());
    else
        without_end_ = true;            /* some files ship without the closing 99 */
    return false;
}

void XPlaneFile::pass_over(long code, bool known)
{
    Unused &u = unused_[code];
    if (u.rows++ == 0) {
        u.first_line = in_.line_number();
        u.known = known;
    }
}

void XPlaneFile::finish()
{
    report_.end_progress();
    std::string text = in_.path() + ": " + std::to_string(in_.line_number()) + " lines read";
    if (without_end_)
        text += " (no closing 99 line)";
    report_.say(text);
    /* Rows this reader has no use for, by row code: the format's own rows
     * that carry nothing for the data files, and codes it does not know
     * (newer versions add some). */
    for (bool known : {true, false}) {
        std::string list;
        for (const auto &u : unused_)
            if (u.second.known == known)
                list += (list.empty() ? "" : ", ") + std::to_string(u.first) + " x" +
                        std::to_string(u.second.rows) +
                        (known ? "" : " (first on line " + std::to_string(u.second.first_line) + ")");
        if (!list.empty())
            report_.say(in_.path() + (known ? ": rows not needed, by row code: "
                                            : ": rows of codes not known here, passed over: ") +
                        list);
    }
}

static bool is_known(long code, const long *codes, size_t count)
{
    for (size_t i = 0; i < count; i++)
        if (codes[i] == code)
            return true;
    return false;
}

static bool parse_position(std::string_view lat_text, std::string_view lon_text, double *lat,
                           double *lon)
{
    return parse_double(lat_text, lat) && parse_double(lon_text, lon) && fabs(*lat) <= 90 &&
           fabs(*lon) <= 180;
}

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
    airport_.name = std::string(f.rest(header_name));
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
        (reader.*(row->handler))(code, f);
    }
    if (!outcome->fatal.empty())
        return false;
    reader.finish_airport();
    file.finish();
    return true;
}

/* ======================================================================
 * nav.dat
 * ====================================================================== */

static const long nav_versions[] = {810, 1100, 1150, 1200};

/* Row codes that this reader handles. */
enum NavRowCode : long {
    nav_ndb = 2,                        /* NDB */
    nav_vor = 3,                        /* VOR, VOR-DME, VORTAC */
    nav_ils_localizer = 4,              /* localizer of an ILS (with glide slope) */
    nav_localizer = 5,                  /* localizer alone: LOC, LDA, SDF */
};

/* Navaids that go in neither file, counted in the summary. */
enum NavOtherCode : long {
    nav_dme_paired = 12,                /* DME of a VOR or ILS */
    nav_dme = 13,                       /* DME alone, TACAN */
};

/* Row codes of the format that carry nothing the data files need. */
static const long nav_unused_rows[] = {
    6,                                  /* glide slope (its bearing field packs the angle) */
    7, 8, 9,                            /* outer, middle, inner marker */
    nav_dme_paired,
    nav_dme,
    14,                                 /* final approach path point (1100 on) */
    15,                                 /* GLS threshold point (1100 on) */
    16,                                 /* landing threshold point (1100 on) */
};

/* The columns every navaid row shares.
 *   810:   3  47.43538889 -122.30961111    354 11680 130   19.000 SEA  SEATTLE VORTAC
 *   1100:  3  47.43538889 -122.30961111    354 11680 130   19.000 SEA  ENRT K1 SEATTLE VORTAC
 *   810:   4  47.42939200 -122.30805600    338 11030  18  163.000 ISNQ KSEA 16L ILS-cat-I
 *   1100:  4  47.42939200 -122.30805600    338 11030  18  163.000 ISNQ KSEA K1 16L ILS-cat-I */
enum NavColumn {
    nav_row_code,
    nav_latitude,
    nav_longitude,
    nav_elevation,                      /* feet */
    nav_frequency,                      /* VOR, ILS: MHz x 100; NDB: kHz */
    nav_range,                          /* nautical miles */
    nav_bearing,                        /* VOR: slaved variation; localizer: true bearing */
    nav_ident,
    nav_after_ident                     /* where the layouts of the versions part */
};

/* Where the later columns stand in each version. */
struct NavLayout {
    size_t navaid_name;                 /* VOR, NDB: name to the end of the line */
    size_t navaid_min_fields;
    size_t localizer_airport;           /* the airport's identifier */
    size_t localizer_runway;            /* the runway designator */
    size_t localizer_min_fields;
};
/* 810: ident, then the name; a localizer: ident, airport, runway, name. */
static const NavLayout layout_810 = {nav_after_ident, nav_after_ident + 1, nav_after_ident,
                                     nav_after_ident + 1, nav_after_ident + 2};
/* 1100 on: ident, airport (ENRT for en-route aids), ICAO region, then the
 * name; a localizer has its runway between the region and the name. */
static const NavLayout layout_1100 = {nav_after_ident + 2, nav_after_ident + 3, nav_after_ident,
                                      nav_after_ident + 2, nav_after_ident + 3};

class NavReader {
public:
    NavReader(Converter &converter, XPlaneFile &file)
        : converter_(converter), file_(file),
          layout_(file.version() == 810 ? layout_810 : layout_1100)
    {
    }

    bool on_navaid(long code, const Fields &f);
    bool on_localizer(long code, const Fields &f);

private:
    bool position(const Fields &f, double *lat, double *lon);
    Converter &converter_;
    XPlaneFile &file_;
    const NavLayout &layout_;
};

bool NavReader::position(const Fields &f, double *lat, double *lon)
{
    if (parse_position(f[nav_latitude], f[nav_longitude], lat, lon))
        return true;
    file_.bad_row("bad position");
    return false;
}

bool NavReader::on_navaid(long code, const Fields &f)
{
    if (f.size() < layout_.navaid_min_fields) {
        file_.bad_row("navaid has " + std::to_string(f.size()) + " fields, at least " +
                      std::to_string(layout_.navaid_min_fields) + " expected");
        return false;
    }
    Navaid n;
    n.source = file_.here();
    n.vor = code == nav_vor;
    n.ident = std::string(f[nav_ident]);
    n.name = std::string(strip_type_word(f.rest(layout_.navaid_name)));
    if (!position(f, &n.latitude, &n.longitude))
        return false;
    long frequency;
    bool ok = parse_long(f[nav_frequency], &frequency);
    if (ok && n.vor)
        ok = !frequency_text(frequency).empty();
    else if (ok)
        ok = frequency > 0 && frequency <= 99999;
    if (!ok) {
        file_.bad_row(std::string(n.vor ? "VOR" : "NDB") + " " + n.ident + ": bad frequency '" +
                      std::string(f[nav_frequency]) + "'");
        return false;
    }
    n.frequency = frequency;
    converter_.add_navaid(n);
    return true;
}

bool NavReader::on_localizer(long code, const Fields &f)
{
    if (f.size() < layout_.localizer_min_fields) {
        file_.bad_row("localizer has " + std::to_string(f.size()) + " fields, at least " +
                      std::to_string(layout_.localizer_min_fields) + " expected");
        return false;
    }
    Localizer l;
    l.source = file_.here();
    l.with_glide_slope = code == nav_ils_localizer;
    l.ident = std::string(f[nav_ident]);
    l.airport = std::string(f[layout_.localizer_airport]);
    l.runway = std::string(f[layout_.localizer_runway]);
    if (!position(f, &l.latitude, &l.longitude))
        return false;
    if (!parse_long(f[nav_frequency], &l.frequency) || frequency_text(l.frequency).empty()) {
        file_.bad_row("localizer " + l.ident + ": bad frequency '" + std::string(f[nav_frequency]) +
                      "'");
        return false;
    }
    if (!parse_double(f[nav_bearing], &l.bearing) || l.bearing < 0) {
        file_.bad_row("localizer " + l.ident + ": bad bearing '" + std::string(f[nav_bearing]) +
                      "'");
        return false;
    }
    converter_.add_localizer(l);
    return true;
}

typedef bool (NavReader::*NavHandler)(long code, const Fields &f);
struct NavRow {
    long code;
    NavHandler handler;
};
static const NavRow nav_rows[] = {
    {nav_ndb, &NavReader::on_navaid},
    {nav_vor, &NavReader::on_navaid},
    {nav_ils_localizer, &NavReader::on_localizer},
    {nav_localizer, &NavReader::on_localizer},
};

bool read_nav_dat(const std::string &path, Converter &converter, Report &report,
                  ReadOutcome *outcome)
{
    XPlaneFile file(report, outcome);
    if (!file.open(path, "nav.dat", nav_versions, sizeof nav_versions / sizeof *nav_versions))
        return false;
    NavReader reader(converter, file);
    long code;
    Fields f;
    bool first = true;
    while (file.next_row(&code, &f)) {
        const NavRow *row = nullptr;
        for (const NavRow &r : nav_rows)
            if (r.code == code)
                row = &r;
        bool known = row || is_known(code, nav_unused_rows,
                                     sizeof nav_unused_rows / sizeof *nav_unused_rows);
        if (first && !known) {
            outcome->fatal = path + ":" + std::to_string(outcome->lines) +
                             ": not a nav.dat file: the first row is no navaid";
            return false;
        }
        first = false;
        if (!row) {
            file.pass_over(code, known);
            if (code == nav_dme_paired || code == nav_dme)
                converter.skip_navaid_type();
            continue;
        }
        (reader.*(row->handler))(code, f);
    }
    if (!outcome->fatal.empty())
        return false;
    file.finish();
    return true;
}
