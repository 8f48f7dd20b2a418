/*
 * Faults of the sources that the converter puts right, each reported with
 * its place in the source and counted in the summary:
 *
 *   - Runway ends swapped in the source: an end whose course, as it would
 *     be written, lies more than 90 degrees from its designator's number
 *     times ten (designators 01 to 36; not those ending in T, which are
 *     true courses) stands where the other end is.  It is turned round
 *     before the localizers are joined: its heading reversed, its
 *     threshold and far end exchanged, so the join and the course written
 *     both see the runway as it is.
 *   - The same navaid line twice: the module's navaid file carries no
 *     place, so a repeat (an exact one, or the same station a few metres
 *     apart) would only list one station twice.  It is written once.
 */
#include <math.h>
#include <stdio.h>

#include <utility>

#include "converter.h"
#include "courses.h"
#include "magnetic.h"
#include "common/geometry.h"
#include "common/tokens.h"

/* The course a designator 01 to 36 stands for (its number times ten),
 * with or without a letter for a parallel (L, C, R, ...); negative for a
 * true-course designator (ending in T), a water lane's compass point or
 * anything else. */
double numbered_designator_course(const std::string &designator)
{
    std::string d = upper_ascii(designator);
    if (is_true_designator(d))
        return -1;
    size_t digits = 0;
    while (digits < d.size() && d[digits] >= '0' && d[digits] <= '9')
        digits++;
    if (digits == 0 || digits > 2 || d.size() > digits + 1)
        return -1;
    if (d.size() == digits + 1 && !(d[digits] >= 'A' && d[digits] <= 'Z'))
        return -1;
    return designator_heading(d);       /* the number's course; -1 outside 01 to 36 */
}

/* The heading of the runway end reversed: the source gave the other end's. */
static void turn_round(RunwayEnd &end)
{
    end.heading = fmod(end.heading + 180.0, 360.0);
    std::swap(end.has_position, end.has_far_end);
    std::swap(end.latitude, end.far_latitude);
    std::swap(end.longitude, end.far_longitude);
}

void Converter::correct_swapped_ends(const Airport &airport, std::vector<RunwayEnd> &ends)
{
    for (RunwayEnd &end : ends) {
        double designator = numbered_designator_course(end.designator);
        /* A course the source works out itself comes with its own join and
         * a runway it stores by one heading: nothing there to swap. */
        if (designator < 0 || end.heading < 0 || end.source_course > 0)
            continue;
        int course = end_course(airport, end).degrees;
        if (course <= 0 || bearing_difference(course, designator) <= 90)
            continue;
        turn_round(end);
        stats_.ends_swapped++;
        char text[200];
        snprintf(text, sizeof text,
                 "%s runway %s: its course %03d points away from its designator: its ends "
                 "are taken as swapped in the source: turned round to %03d",
                 airport.ident.c_str(), end.designator.c_str(), course,
                 end_course(airport, end).degrees);
        report_.note(airport.source.file, airport.source.line, text);
    }
}

bool Converter::first_navaid_line(const std::string &line, const SourceLine &source)
{
    auto seen = navaid_lines_.emplace(line, source);
    if (seen.second)
        return true;
    stats_.navaids_repeated++;
    report_.note(source.file, source.line,
                 "navaid line '" + line + "' repeats " + seen.first->second.file + ":" +
                     std::to_string(seen.first->second.line) + ": written once");
    return false;
}

std::string Converter::corrections_summary() const
{
    const long by_place = joiner_.joined_by_place();
    const ConvertStats &s = stats_;
    if (s.ends_swapped == 0 && by_place == 0 && s.navaids_repeated == 0)
        return std::string();
    char line[300];
    snprintf(line, sizeof line,
             "put right: runway ends swapped in the source %ld, localizers joined by place "
             "(renumbered runways) %ld, repeated navaid lines %ld\n",
             s.ends_swapped, by_place, s.navaids_repeated);
    return line;
}
