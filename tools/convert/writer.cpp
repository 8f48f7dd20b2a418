/*
 * The converter's writer: the lines of the two data files, with the
 * magnetic course of each runway end, each checked against the module's
 * limits before it is kept.
 */
#include <stdio.h>

#include "check/check.h"
#include "converter.h"
#include "common/geometry.h"
#include "magnetic.h"
#include "selection/facility_file.h"
#include "common/tokens.h"

/* Rooms of the converter's own tokens, chosen so that the longest descriptor
 * (8 + 8 + 6 + 6 + 3 characters and four underscores, 35) fits the 39 of
 * runways 1 and 2. */
static const size_t designator_room = 8;
static const size_t localizer_ident_room = 8;
static const long longest_runway_ft = 99999;
static const size_t navaid_ident_room = 8;
static_assert(designator_room + localizer_ident_room + 5 + 6 + 3 + 4 <= runway_room_first,
              "a descriptor must fit the room of runways 1 and 2");

/* ---- Courses (see courses.h for where each comes from) ---- */

double Converter::declination(double latitude, double longitude) const
{
    return magnetic_declination(latitude, longitude, 0.0, year_);
}

std::string Converter::descriptor(const ChosenEnd &chosen) const
{
    const RunwayEnd &end = *chosen.end;
    const Localizer *l = end.localizer;
    std::string length = end.length_ft >= 0 && end.length_ft <= longest_runway_ft
                             ? std::to_string(end.length_ft)
                             : std::string("-");
    std::string frequency = l ? frequency_text(l->frequency) : std::string();
    if (frequency.empty())
        frequency = "0";
    char course[8];
    snprintf(course, sizeof course, "%03d", chosen.course.degrees);
    return ident_token(end.designator, designator_room) + "_" +
           (l ? ident_token(l->ident, localizer_ident_room) : std::string("-")) + "_" + length +
           "_" + frequency + "_" + course;
}

std::string Converter::runway_line(const std::string &code, const Airport &airport,
                                   const std::vector<ChosenEnd> &ends) const
{
    std::string line = code + " " + name_token(airport.name, airport_name_room);
    for (const ChosenEnd &end : ends)
        line += " " + descriptor(end);
    return line;
}

bool Converter::fits_module(const std::string &line, bool runway_file, const SourceLine &source)
{
    std::vector<Finding> findings;
    if (line.size() + 1 > (size_t)(line_limit - 1))
        findings.push_back(Finding{0, "line too long"});
    else if (runway_file)
        check_runway_record(line.c_str(), 0, &findings);
    else
        check_navaid_record(line.c_str(), 0, &findings);
    if (findings.empty())
        return true;
    report_.error(source.file, source.line,
                  "left out: its line would break the data file's limits (" +
                      findings[0].reason + ")");
    return false;
}


std::string Converter::navaid_line(const Navaid &navaid) const
{
    std::string frequency = navaid.vor ? frequency_text(navaid.frequency)
                                       : std::to_string(navaid.frequency);
    return ident_token(navaid.ident, navaid_ident_room) + " " +
           name_token(navaid.name, navaid_field_room) + " " + (navaid.vor ? "VOR" : "NDB") +
           " " + frequency;
}
