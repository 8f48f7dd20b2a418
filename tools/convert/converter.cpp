#include "converter.h"

#include <stdarg.h>

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "check/check.h"
#include "magnetic.h"
#include "selection/facility_file.h"
#include "common/geometry.h"
#include "common/tokens.h"



/* ---- Filters ---- */

bool Filters::in_box(double latitude, double longitude) const
{
    if (!has_box)
        return true;
    if (latitude < south || latitude > north)
        return false;
    if (west <= east)
        return longitude >= west && longitude <= east;
    return longitude >= west || longitude <= east;
}

static bool any_prefix(const std::vector<std::string> &prefixes, const std::string &code)
{
    for (const std::string &p : prefixes)
        if (code.compare(0, p.size(), p) == 0)
            return true;
    return false;
}

/* ---- Converter ---- */

bool Converter::open_outputs(const std::string &directory, bool crlf, bool runways,
                             bool navaids, std::string *error)
{
    if (!outputs_.open(directory, crlf, runways, navaids, error))
        return false;
    writes_runways_ = runways;
    writes_navaids_ = navaids;
    return true;
}

/* ---- Radio bands ----
 * A value outside its band would be sent to the radio as it is: such
 * records are refused and reported, whatever the source. */

static const long vor_band_low = 10800, vor_band_high = 11795;   /* MHz x 100 */
static const long ndb_band_low = 190, ndb_band_high = 1750;      /* kHz */
/* Newer nav.dat pack magnetic x 360 + true into the bearing field. */
static const double packed_bearing_limit = 360.0 * 361.0;

static std::string hundredths_text(long value)
{
    char text[32];
    snprintf(text, sizeof text, "%ld.%02ld", value / 100, labs(value % 100));
    return text;
}

bool Converter::in_band(const Localizer &l)
{
    std::string why;
    if (l.frequency < vor_band_low || l.frequency > vor_band_high)
        why = "frequency " + hundredths_text(l.frequency) +
              " MHz is outside the band 108.00-117.95";
    else if (!isfinite(l.bearing) || l.bearing < 0 || l.bearing >= packed_bearing_limit)
        why = "bearing is not a bearing";
    if (why.empty())
        return true;
    stats_.out_of_band++;
    report_.error(l.source.file, l.source.line, "localizer " + l.ident + ": " + why + ": refused");
    return false;
}

/* Real long-wave beacons stand below the ADF's band (some at 100 to 189
 * kHz): left out with a note, not taken for bad rows. */
static const long long_wave_low = 100;

bool Converter::in_band(const Navaid &n)
{
    bool ok = n.vor ? n.frequency >= vor_band_low && n.frequency <= vor_band_high
                    : n.frequency >= ndb_band_low && n.frequency <= ndb_band_high;
    if (ok)
        return true;
    stats_.out_of_band++;
    if (!n.vor && n.frequency >= long_wave_low && n.frequency < ndb_band_low) {
        report_.note(n.source.file, n.source.line,
                     "NDB " + n.ident + ": " + std::to_string(n.frequency) +
                         " kHz is below the ADF's band 190-1750: left out");
        return false;
    }
    report_.error(n.source.file, n.source.line,
                  n.vor ? "VOR " + n.ident + ": frequency " + hundredths_text(n.frequency) +
                              " MHz is outside the band 108.00-117.95: refused"
                        : "NDB " + n.ident + ": frequency " + std::to_string(n.frequency) +
                              " kHz is outside the band 190-1750: refused");
    return false;
}

void Converter::add_localizer(const Localizer &localizer)
{
    stats_.localizers_read++;
    if (!in_band(localizer))
        return;
    /* From nav.dat 1150 the published magnetic course may stand before the
     * true bearing, packed as magnetic x 360 + true. */
    Localizer l = localizer;
    unpack_localizer_bearing(localizer.bearing, localizer.packed_bearing, &l.bearing,
                             &l.published_course);
    joiner_.add(l);
}

/* An identifier the runway file can carry as its code: one token of capital
 * letters, digits and hyphens (local codes such as US-0001), within the
 * code's room. */
bool is_usable_code(const std::string &code)
{
    if (code.empty() || code.size() > airport_code_room)
        return false;
    for (char c : code)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'))
            return false;
    return true;
}

std::string Converter::choose_code(const Airport &airport) const
{
    if (filters_.icao_only) {
        if (is_icao_style(airport.icao))
            return upper_ascii(airport.icao);
        if (is_icao_style(airport.ident))
            return upper_ascii(airport.ident);
        return std::string();
    }
    for (const std::string *id : {&airport.icao, &airport.ident}) {
        std::string code = upper_ascii(*id);
        if (is_usable_code(code))
            return code;
    }
    return std::string();
}

/* The first filter that turns the airport away; filter_none when all let
 * it through. */
FilterKind Converter::rejecting_filter(const Airport &airport, const std::string &code)
{
    if (!filters_.icao_prefixes.empty() && !any_prefix(filters_.icao_prefixes, code))
        return filter_icao;
    if (countries_.active() && !countries_.admits(airport.country, airport.source, report_))
        return filter_country;
    if (filters_.has_box &&
        !(airport.has_position && filters_.in_box(airport.latitude, airport.longitude)))
        return filter_box;
    if (filters_.hard_only && !airport.has_hard_runway)
        return filter_hard_only;
    return filter_none;
}

static const char *const filter_options[filter_count] = {"--icao", "--country", "--box",
                                                         "--hard-only"};

std::string Converter::empty_result(bool airports, bool navaids) const
{
    const ConvertStats &s = stats_;
    std::string why;
    if (airports && s.airports_written == 0) {
        if (s.airports_read == 0) {
            why = "the airport source holds no airport";
        } else if (s.skipped_filtered > 0) {
            why = "no airport passes the filters (" + std::to_string(s.airports_read) +
                  " read; turned away by";
            for (int f = 0; f < filter_count; f++)
                if (s.filtered_by[f] > 0)
                    why += std::string(" ") + filter_options[f] + ": " +
                           std::to_string(s.filtered_by[f]);
            why += ")";
        } else {
            why = "none of the " + std::to_string(s.airports_read) +
                  " airports read can be written (see the summary)";
        }
    }
    if (navaids && s.navaids_written == 0) {
        if (!why.empty())
            why += "; ";
        if (s.navaids_read == s.navaids_other_type)
            why += "the navaid source holds no VOR or NDB";
        else if (s.navaids_filtered > 0)
            why += "no VOR or NDB passes the filters (--country, --box: " +
                   std::to_string(s.navaids_filtered) + " turned away)";
        else
            why += "none of the navaids read can be written (see the summary)";
    }
    return why;
}

std::vector<Converter::ChosenEnd> Converter::choose_ends(const Airport &airport,
                                                        const std::vector<RunwayEnd> &ends)
{
    std::vector<ChosenEnd> chosen;
    for (const RunwayEnd &end : ends) {
        EndCourse course = end_course(airport, end);
        if (course.degrees == 0) {
            stats_.ends_without_course++;
            report_.note(airport.source.file, airport.source.line,
                         airport.ident + " runway " + end.designator +
                             ": no heading, no place and no number: left out");
            continue;
        }
        chosen.push_back(ChosenEnd{&end, course});
    }
    if (chosen.size() <= (size_t)max_runways)
        return chosen;
    std::stable_partition(chosen.begin(), chosen.end(),
                          [](const ChosenEnd &c) { return c.end->localizer != nullptr; });
    long left_out = (long)chosen.size() - max_runways;
    chosen.resize(max_runways);
    stats_.ends_left_out += left_out;
    report_.note(airport.source.file, airport.source.line,
                 airport.ident + " has " + std::to_string(ends.size()) + " runway ends: " +
                     std::to_string(left_out) + " without a landing system are left out");
    return chosen;
}

void Converter::add_airport(const Airport &airport)
{
    stats_.airports_read++;
    long *skipped = nullptr;
    /* The first definition of a code wins whatever it says, as in the
     * simulator: a scenery pack that closes an airport or makes it a
     * heliport keeps a later file's open airport of that code out. */
    const std::string code = choose_code(airport);
    const bool heliport = airport.kind == AirportKind::heliport;
    if (!code.empty() && !codes_seen_.insert(code).second) {
        skipped = &stats_.skipped_duplicate;
        report_.note(airport.source.file, airport.source.line,
                     "airport " + code + " comes again: the first one is kept");
    } else if (heliport && !filters_.heliports) {
        skipped = &stats_.skipped_heliport;
    } else if (airport.kind == AirportKind::other) {
        skipped = &stats_.skipped_other_kind;
    } else if (airport.closed) {
        skipped = &stats_.skipped_closed;
    } else if (airport.ends.empty() && !heliport) {  /* a heliport's pads are no runways */
        skipped = &stats_.skipped_no_runway;
    } else if (code.empty()) {
        skipped = &stats_.skipped_no_code;
    }
    if (!skipped) {
        FilterKind filter = rejecting_filter(airport, code);
        if (filter != filter_none) {
            stats_.filtered_by[filter]++;
            skipped = &stats_.skipped_filtered;
        }
    }
    if (skipped) {
        (*skipped)++;
        joiner_.airport_skipped(airport);
        return;
    }
    std::vector<RunwayEnd> ends = airport.ends;
    correct_swapped_ends(airport, ends);
    joiner_.join(airport, ends);
    std::vector<ChosenEnd> chosen = choose_ends(airport, ends);
    std::string line = runway_line(code, airport, chosen);
    if (!fits_module(line, true, airport.source))
        return;
    if (outputs_.runways.is_open())
        airport_lines_.emplace_back(code, line);
    stats_.airports_written++;
    stats_.ends_written += (long)chosen.size();
    for (const ChosenEnd &c : chosen) {
        if (c.end->localizer)
            stats_.ends_with_localizer++;
        count_course(c.course.kind);
    }
}

void Converter::add_navaid(const Navaid &navaid)
{
    stats_.navaids_read++;
    if (!in_band(navaid))
        return;
    if ((countries_.active() && !navaid.country.empty() &&
         !countries_.admits(navaid.country, navaid.source, report_)) ||
        !filters_.in_box(navaid.latitude, navaid.longitude)) {
        stats_.navaids_filtered++;
        return;
    }
    std::string line = navaid_line(navaid);
    if (!fits_module(line, false, navaid.source) || !first_navaid_line(line, navaid.source))
        return;
    if (outputs_.navaids.is_open())
        outputs_.navaids.write_line(line);
    stats_.navaids_written++;
    (navaid.vor ? stats_.vors_written : stats_.ndbs_written)++;
}

void Converter::finish(bool airports_given)
{
    if (airports_given)
        joiner_.finish();
}

bool Converter::commit(std::string *error)
{
    /* Airports go out sorted by code: the quick-pick list the module fills
     * from them is sorted, and entries that arrive in its order are the
     * cheapest for it to take.  Codes are unique here, so nothing else the
     * module shows depends on the file's order. */
    std::sort(airport_lines_.begin(), airport_lines_.end());
    for (const auto &airport : airport_lines_)
        outputs_.runways.write_line(airport.second);
    airport_lines_.clear();
    return outputs_.commit(error);
}

void Converter::discard()
{
    outputs_.discard();
}

/* printf into the end of a string. */
static void appendf(std::string *text, const char *format, ...)
{
    char line[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    *text += line;
}

std::string Converter::summary() const
{
    std::string out;
    const ConvertStats &s = stats_;
    if (s.airports_read > 0 || writes_runways_)
        appendf(&out,
                "airports: read %ld, written %ld; skipped: closed %ld, heliport %ld, other kind "
                "%ld, without runways %ld, no usable code %ld, repeated code %ld, outside the "
                "filters %ld\n"
                "runway ends: written %ld, with a landing system %ld, left out beyond %d %ld, "
                "left out without a course %ld\n",
                s.airports_read, s.airports_written, s.skipped_closed, s.skipped_heliport,
                s.skipped_other_kind, s.skipped_no_runway, s.skipped_no_code, s.skipped_duplicate, s.skipped_filtered,
                s.ends_written, s.ends_with_localizer, max_runways, s.ends_left_out,
                s.ends_without_course);
    if (s.ends_written > 0)
        appendf(&out,
                "courses: published %ld, computed %ld, true (runways designated T) %ld, from "
                "the designator %ld%s\n",
                s.courses_published, s.courses_computed, s.courses_true, s.courses_designator,
                s.courses_source > 0 ? (", " + source_course_name_ + " " +
                                        std::to_string(s.courses_source)).c_str()
                                     : "");
    if (s.localizers_read > 0)
        appendf(&out,
                "localizers: read %ld, joined %ld; not joined: serve no runway end %ld, no such "
                "airport %ld, airport not written %ld, another serves the runway end %ld, "
                "repeated %ld\n",
                s.localizers_read, joiner_.count(Localizer::State::joined),
                joiner_.count(Localizer::State::no_runway),
                joiner_.count(Localizer::State::unseen),
                joiner_.count(Localizer::State::airport_skipped),
                joiner_.count(Localizer::State::spare), joiner_.duplicates());
    if (s.navaids_read > 0 || writes_navaids_)
        appendf(&out,
                "navaids: read %ld, written %ld (VOR %ld, NDB %ld); skipped: outside the "
                "filters %ld, other type %ld\n",
                s.navaids_read, s.navaids_written, s.vors_written, s.ndbs_written,
                s.navaids_filtered, s.navaids_other_type);
    out += corrections_summary();
    if (s.out_of_band > 0)
        appendf(&out, "refused as outside the radio bands: %ld\n", s.out_of_band);
    return out;
}
