#include "ourairports.h"

#include <math.h>
#include <string.h>
#include <sys/stat.h>

#include <deque>
#include <unordered_map>
#include <vector>

#include "csv_reader.h"
#include "ourairports_layout.h"
#include "common/fields.h"
#include "common/line_reader.h"
#include "surfaces.h"
#include "common/geometry.h"
#include "common/tokens.h"

static bool file_exists(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string find_csv(const std::string &directory, const char *stem)
{
    std::string base = (directory.empty() ? std::string(".") : directory) + "/" + stem + ".csv";
    if (file_exists(base))
        return base;
    if (file_exists(base + ".gz"))
        return base + ".gz";
    return std::string();
}

static bool parse_optional(const std::string &text, double *value)
{
    return !text.empty() && parse_double(text, value);
}

/* Helipads are listed as runways named H, H1, H-NORTH, H09L, ...: no
 * runway designator begins with an H (numbers, and the compass points of
 * water lanes). */
static bool is_helipad(const std::string &ident)
{
    return !ident.empty() && (ident[0] == 'H' || ident[0] == 'h');
}

/* ======================================================================
 * The reading
 * ====================================================================== */

class OurAirportsReader {
public:
    OurAirportsReader(Converter &converter, Report &report, ReadOutcome *outcome)
        : converter_(converter), report_(report), outcome_(outcome)
    {
    }
    bool read_airports(const std::string &path);
    bool read_runways(const std::string &path);
    bool read_navaids(const std::string &path);
    void hand_over();

private:
    typedef bool (OurAirportsReader::*RowHandler)(CsvReader &file, const CsvRecord &r);
    bool read_file(const std::string &path, const char *const *names, const bool *required,
                   int count, RowHandler on_row);
    bool on_airport(CsvReader &file, const CsvRecord &r);
    bool on_runway(CsvReader &file, const CsvRecord &r);
    bool on_navaid(CsvReader &file, const CsvRecord &r);

    Converter &converter_;
    Report &report_;
    ReadOutcome *outcome_;
    std::vector<Airport> airports_;
    std::unordered_map<std::string, size_t> airport_by_ident_;
    long closed_runways_ = 0, helipads_ = 0;
};

/* The code an airport is written under (in icao, ahead of its ident) and
 * every code it is known by (its aliases, for the localizers' join):
 * the ICAO code; else, for a field OurAirports files as K plus its FAA
 * code (ident or gps_code KS50, local_code S50), the FAA code that pilots
 * and charts use; else the ident.  Files from before the icao_code column
 * held the ICAO code in gps_code. */
static void airport_codes(CsvReader &file, const CsvRecord &r, Airport *a)
{
    const std::string &icao = file.field(r, airport_icao_code);
    const std::string &gps = file.field(r, airport_gps_code);
    const std::string &local = file.field(r, airport_local_code);
    const std::string k_local = local.empty() ? std::string() : "K" + upper_ascii(local);
    if (!icao.empty())
        a->icao = icao;
    else if (!k_local.empty() && (upper_ascii(a->ident) == k_local || upper_ascii(gps) == k_local))
        a->icao = local;
    else if (!file.has_column(airport_icao_code))
        a->icao = gps;
    for (const std::string *code : {&gps, &icao, &local})
        if (!code->empty())
            a->aliases.push_back(*code);
}

/* Reads one of the files through: every complete row goes to on_row. */
bool OurAirportsReader::read_file(const std::string &path, const char *const *names,
                                  const bool *required, int count, RowHandler on_row)
{
    CsvReader file(report_, outcome_);
    if (!file.open(path, names, required, count))
        return false;
    CsvRecord r;
    while (file.next(&r))
        if (file.complete(r))
            (this->*on_row)(file, r);
    if (!outcome_->fatal.empty())
        return false;
    file.finish();
    return true;
}

bool OurAirportsReader::on_airport(CsvReader &file, const CsvRecord &r)
{
    Airport a;
    a.source = file.here();
    a.ident = file.field(r, airport_ident);
    a.name = file.field(r, airport_name);
    a.country = file.field(r, airport_country);
    airport_codes(file, r, &a);
    const std::string &type = file.field(r, airport_type);
    const AirportType *t = nullptr;
    for (const AirportType &candidate : airport_types)
        if (type == candidate.name)
            t = &candidate;
    a.kind = t ? t->kind : AirportKind::other;
    a.closed = t && t->closed;
    if (!parse_double(file.field(r, airport_latitude), &a.latitude) ||
        !parse_double(file.field(r, airport_longitude), &a.longitude)) {
        file.bad_row("airport " + a.ident + ": bad position: skipped");
        return false;
    }
    a.has_position = true;
    if (a.ident.empty()) {
        file.bad_row("airport without ident: skipped");
        return false;
    }
    if (!airport_by_ident_.emplace(upper_ascii(a.ident), airports_.size()).second) {
        report_.note(a.source.file, a.source.line, "airport ident " + a.ident + " comes again");
        return false;
    }
    airports_.push_back(a);
    return true;
}

bool OurAirportsReader::read_airports(const std::string &path)
{
    return read_file(path, airport_column_names, airport_column_required, airport_column_count,
                     &OurAirportsReader::on_airport);
}

bool OurAirportsReader::on_runway(CsvReader &file, const CsvRecord &r)
{
    const std::string &ident = file.field(r, runway_airport);
    auto at = airport_by_ident_.find(upper_ascii(ident));
    if (at == airport_by_ident_.end()) {
        const SourceLine s = file.here();
        report_.note(s.file, s.line, "runway of airport " + ident + ", which airports.csv lacks");
        return false;
    }
    if (file.field(r, runway_closed) == "1") {
        closed_runways_++;
        return true;
    }
    if (is_helipad(file.field(r, runway_le_ident))) {
        helipads_++;
        return true;
    }
    Airport &airport = airports_[at->second];
    long length = -1;
    if (!file.field(r, runway_length).empty() && !parse_long(file.field(r, runway_length), &length)) {
        file.bad_row("runway of " + ident + ": bad length '" + file.field(r, runway_length) + "'");
        return false;
    }
    static const int end_columns[2][4] = {
        {runway_le_ident, runway_le_latitude, runway_le_longitude, runway_le_heading},
        {runway_he_ident, runway_he_latitude, runway_he_longitude, runway_he_heading}};
    RunwayEnd ends[2];
    bool present[2], placed[2];
    double lat[2], lon[2];
    for (int e = 0; e < 2; e++) {
        ends[e].designator = file.field(r, end_columns[e][0]);
        present[e] = !ends[e].designator.empty();
        placed[e] = parse_optional(file.field(r, end_columns[e][1]), &lat[e]) &&
                    parse_optional(file.field(r, end_columns[e][2]), &lon[e]);
        ends[e].length_ft = length;
    }
    /* The heading from the two thresholds where both are given: the heading
     * column often holds a magnetic heading, or a wrong one. */
    const bool both_placed =
        placed[0] && placed[1] && distance_metres(lat[0], lon[0], lat[1], lon[1]) >= 1;
    for (int e = 0; e < 2; e++) {
        double heading;
        if (both_placed)
            ends[e].heading = bearing_degrees(lat[e], lon[e], lat[1 - e], lon[1 - e]);
        else if (parse_optional(file.field(r, end_columns[e][3]), &heading) && heading >= 0)
            ends[e].heading = fmod(heading, 360.0);
    }
    for (int e = 0; e < 2; e++) {
        ends[e].has_position = placed[e];
        ends[e].latitude = placed[e] ? lat[e] : 0;
        ends[e].longitude = placed[e] ? lon[e] : 0;
        ends[e].has_far_end = placed[1 - e];
        ends[e].far_latitude = placed[1 - e] ? lat[1 - e] : 0;
        ends[e].far_longitude = placed[1 - e] ? lon[1 - e] : 0;
    }
    if (length < 0 && placed[0] && placed[1])
        for (RunwayEnd &end : ends)
            end.length_ft = metres_to_feet(distance_metres(lat[0], lon[0], lat[1], lon[1]));
    for (int e = 0; e < 2; e++)
        if (present[e])
            airport.ends.push_back(ends[e]);
    if (surface_kind(file.field(r, runway_surface)) == SurfaceKind::hard)
        airport.has_hard_runway = true;
    return true;
}

bool OurAirportsReader::read_runways(const std::string &path)
{
    if (!read_file(path, runway_column_names, runway_column_required, runway_column_count,
                   &OurAirportsReader::on_runway))
        return false;
    if (closed_runways_ || helipads_)
        report_.say(path + ": not listed: closed runways " + std::to_string(closed_runways_) +
                    ", helipads " + std::to_string(helipads_));
    return true;
}

bool OurAirportsReader::on_navaid(CsvReader &file, const CsvRecord &r)
{
    Navaid n;
    n.source = file.here();
    n.ident = file.field(r, navaid_ident);
    n.name = file.field(r, navaid_name);
    n.country = file.field(r, navaid_country);
    const std::string &type = file.field(r, navaid_type);
    const NavaidType *t = nullptr;
    for (const NavaidType &candidate : navaid_types)
        if (type == candidate.name)
            t = &candidate;
    if (!t) {
        converter_.skip_navaid_type();
        return true;
    }
    n.vor = t->vor;
    double khz;
    if (!parse_double(file.field(r, navaid_latitude), &n.latitude) ||
        !parse_double(file.field(r, navaid_longitude), &n.longitude)) {
        file.bad_row(type + " " + n.ident + ": bad position: skipped");
        return false;
    }
    bool ok = parse_double(file.field(r, navaid_frequency), &khz) && khz > 0;
    if (ok && n.vor) {
        n.frequency = (long)floor(khz / 10 + 0.5);        /* kHz to MHz x 100 */
        ok = !frequency_text(n.frequency).empty();
    } else if (ok) {
        n.frequency = (long)floor(khz);                   /* the ADF takes whole kHz */
        ok = n.frequency > 0 && n.frequency <= 99999;
    }
    if (!ok) {
        file.bad_row(type + " " + n.ident + ": bad frequency '" +
                     file.field(r, navaid_frequency) + "': skipped");
        return false;
    }
    converter_.add_navaid(n);
    return true;
}

bool OurAirportsReader::read_navaids(const std::string &path)
{
    return read_file(path, navaid_column_names, navaid_column_required, navaid_column_count,
                     &OurAirportsReader::on_navaid);
}

void OurAirportsReader::hand_over()
{
    for (const Airport &a : airports_)
        converter_.add_airport(a);
}

bool read_ourairports(const std::string &directory, bool navaids, Converter &converter,
                      Report &report, ReadOutcome *outcome)
{
    OurAirportsReader reader(converter, report, outcome);
    const std::string airports = find_csv(directory, "airports");
    const std::string runways = find_csv(directory, "runways");
    if (airports.empty() || runways.empty()) {
        outcome->fatal = directory + ": no " + (airports.empty() ? "airports" : "runways") +
                         ".csv (nor .csv.gz) in it";
        return false;
    }
    if (!reader.read_airports(airports) || !reader.read_runways(runways))
        return false;
    reader.hand_over();
    if (navaids) {
        const std::string path = find_csv(directory, "navaids");
        if (path.empty()) {
            outcome->fatal = directory + ": no navaids.csv (nor .csv.gz) in it";
            return false;
        }
        if (!reader.read_navaids(path))
            return false;
    }
    return true;
}
