/*
 * The converter's middle: the filters, the localizer index that joins
 * landing systems to runway ends, and the writing of "Prwydata.txt" and
 * "Pnavdata.txt".  The source readers (X-Plane, OurAirports) feed it
 * records; it knows nothing of their formats.
 *
 * Order of use: open_outputs, then every add_localizer, then the airports
 * and navaids in output order, then finish and commit (or discard).
 *
 * Choices it makes, stated once here:
 *   - Code: the source's ICAO code where it gives one apart from the
 *     identifier (apt.dat `1302 icao_code`, OurAirports icao_code, then
 *     gps_code), else the airport's own identifier (FAA-style S50 or local
 *     codes alike), the first that is one upper-case token within the
 *     code's room.  With icao_only: the first that is four letters.
 *   - Heliports are skipped unless asked for; balloon ports, closed airports
 *     and airports without runways always are.
 *   - The same code twice: the first definition is kept, even a closed
 *     airport or a heliport (as the simulator does), the rest are counted.
 *   - Helipads are not listed as runways.
 *   - Localizer join: to the runway end its source names where it fits
 *     that end, else to the end it fits by place, see joiner.h; the same
 *     (airport, runway, identifier) read twice counts once.
 *   - Runway ends swapped in the source are turned round before the join,
 *     and a navaid line that comes again is written once (corrections.cpp).
 *   - Course, whole degrees 001 to 360 (see courses.h): true on a runway
 *     designated T; else the localizer's published magnetic course; else
 *     the localizer's true bearing or the end's true heading less the
 *     magnetic declination (World Magnetic Model, conversion date); else the
 *     designator's number times ten.  An end with none is left out.
 *   - Airports are written sorted by code, navaids in source order.
 *   - More than 20 runway ends: the ends with a landing system come first,
 *     then the others in source order, and only 20 are written.
 */
#ifndef PELMORA_TOOLS_CONVERTER_H
#define PELMORA_TOOLS_CONVERTER_H

#include <stdio.h>

#include <deque>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "countries.h"
#include "courses.h"
#include "facilities.h"
#include "joiner.h"
#include "output_files.h"
#include "common/report.h"

struct Filters {
    std::vector<std::string> icao_prefixes;   /* upper case; airports only */
    std::vector<std::string> countries;       /* upper case; records that give one */
    bool has_box = false;
    double south = 0, west = 0, north = 0, east = 0;   /* west > east crosses 180 */
    bool hard_only = false;                   /* airports only */
    bool icao_only = false;                   /* codes of four letters only */
    bool heliports = false;                   /* heliports too */

    bool in_box(double latitude, double longitude) const;
};

/* The airport filters, in the order they are tried. */
enum FilterKind { filter_icao, filter_country, filter_box, filter_hard_only, filter_count,
                  filter_none = filter_count };

/* The outcome counters, one per line of the summary. */
struct ConvertStats {
    long airports_read = 0, airports_written = 0;
    long skipped_closed = 0, skipped_heliport = 0, skipped_other_kind = 0;
    long skipped_no_runway = 0, skipped_no_code = 0, skipped_duplicate = 0, skipped_filtered = 0;
    long filtered_by[filter_count] = {};      /* the filter that turned each away */
    long ends_written = 0, ends_with_localizer = 0, ends_left_out = 0, ends_without_course = 0;
    long localizers_read = 0;
    long navaids_read = 0, navaids_written = 0, vors_written = 0, ndbs_written = 0;
    long navaids_filtered = 0, navaids_other_type = 0;
    long out_of_band = 0;                     /* localizers and navaids refused */
    long ends_swapped = 0;                    /* turned round: swapped in the source */
    long navaids_repeated = 0;                /* the same line again: written once */
    /* The courses of the runway ends written, by where they come from. */
    long courses_published = 0, courses_computed = 0, courses_true = 0, courses_designator = 0;
    long courses_source = 0;                  /* the source's own (the simulator's variation) */
};

/* True for a code the runway file can carry: capital letters, digits and
 * hyphens, within the code's room. */
bool is_usable_code(const std::string &code);

/* The course a runway designator 01 to 36 stands for, its number times ten
 * (a parallel's letter aside); negative for one ending in T (a true
 * course), a water lane's compass point or anything else. */
double numbered_designator_course(const std::string &designator);

class Converter {
public:
    Converter(const Filters &filters, Report &report) : filters_(filters), report_(report) {}

    bool open_outputs(const std::string &directory, bool crlf, bool runways, bool navaids,
                      std::string *error);

    /* The date of the magnetic courses, as a decimal year within the
     * model's span. */
    void set_magnetic_year(double year) { year_ = year; }

    void add_localizer(const Localizer &localizer);
    void add_airport(const Airport &airport);
    void add_navaid(const Navaid &navaid);
    /* A navaid row of a type that goes in neither file (DME, TACAN, ...). */
    /* What the source's own courses are called in the summary. */
    void set_source_course_name(const std::string &name) { source_course_name_ = name; }
    void skip_navaid_type() { stats_.navaids_read++; stats_.navaids_other_type++; }

    /* Reports the localizers that joined no runway end; airports_given tells
     * whether an airport source was read at all. */
    void finish(bool airports_given);
    /* Empty when every file to be written has lines; else why one would be
     * empty, naming the filter or the input that left nothing.  A run whose
     * files would all be empty writes nothing: a pilot's files are not
     * replaced by empty ones. */
    std::string empty_result(bool airports, bool navaids) const;
    bool commit(std::string *error);
    void discard();

    /* The closing summary: one line per kind of record, each ending in a
     * newline. */
    std::string summary() const;
    const ConvertStats &stats() const { return stats_; }
    const LocalizerJoiner &joiner() const { return joiner_; }

private:
    /* A runway end to be written, with its course, worked out once. */
    struct ChosenEnd {
        const RunwayEnd *end;
        EndCourse course;
    };

    std::string runway_line(const std::string &code, const Airport &airport,
                            const std::vector<ChosenEnd> &ends) const;
    std::string choose_code(const Airport &airport) const;
    bool in_band(const Localizer &localizer);
    bool in_band(const Navaid &navaid);
    double declination(double latitude, double longitude) const;
    /* The course of a runway end and where it comes from (courses.cpp);
     * degrees 0 when it has none. */
    EndCourse end_course(const Airport &airport, const RunwayEnd &end) const;
    void count_course(CourseKind kind);
    /* The writer's part (writer.cpp): the lines of the two files. */
    std::string descriptor(const ChosenEnd &chosen) const;
    std::string navaid_line(const Navaid &navaid) const;
    FilterKind rejecting_filter(const Airport &airport, const std::string &code);
    std::vector<ChosenEnd> choose_ends(const Airport &airport, const std::vector<RunwayEnd> &ends);
    bool fits_module(const std::string &line, bool runway_file, const SourceLine &source);
    /* Faults of the sources put right (corrections.cpp). */
    void correct_swapped_ends(const Airport &airport, std::vector<RunwayEnd> &ends);
    bool first_navaid_line(const std::string &line, const SourceLine &source);
    std::string corrections_summary() const;

    Filters filters_;
    Report &report_;
    CountryFilter countries_{filters_.countries};
    double year_ = 2025.0;
    std::string source_course_name_ = "from the source";
    ConvertStats stats_;
    OutputPair outputs_;
    bool writes_runways_ = false, writes_navaids_ = false;
    LocalizerJoiner joiner_{report_};
    std::unordered_set<std::string> codes_seen_;
    std::vector<std::pair<std::string, std::string>> airport_lines_;   /* code, line */
    std::unordered_map<std::string, SourceLine> navaid_lines_;         /* line, first source */
};

#endif
