/*
 * The data-file checker: reads a "Prwydata.txt" or "Pnavdata.txt" through the
 * module's own reader (selection/facility_file.h), so it sees each line,
 * piece and token exactly as a search does, and lists what a search would
 * get wrong:
 *   - a token longer than its room (the module cuts it);
 *   - a line over 989 characters (the module splits it; the rest reads as a
 *     record of its own);
 *   - a Ctrl-Z before the last byte (the module stops there), a NUL byte (the
 *     module's tokens stop there);
 *   - runway descriptors with fewer than five parts, frequencies not of the
 *     form ddd.dd (or 0), courses that are not whole degrees, more than 20
 *     descriptors;
 *   - navaid lines short of their four fields, VOR frequencies not ddd.dd,
 *     other frequencies not whole kHz, types other than VOR and NDB (any type
 *     but VOR is tuned on the ADF);
 *   - codes or names with lower-case letters (codes are found only by the
 *     exact test, names not at all), blank lines;
 *   - in the runway file, a code that comes again (the exact test lists only
 *     the last one's runways).
 */
#ifndef PELMORA_TOOLS_CHECK_H
#define PELMORA_TOOLS_CHECK_H

#include <string>
#include <vector>

enum class DataKind { runways, navaids };

struct Finding {
    long line;                          /* physical line, from 1 */
    std::string reason;
};

/* The kind a file's name gives ("Prwydata.txt", "Pnavdata.txt", in any
 * letter case and any directory); false for any other name. */
bool data_kind_from_name(const std::string &path, DataKind *kind);

/* Checks one record as the module reads it: text is one piece of at most 989
 * characters (a line end may be included).  Findings carry number. */
void check_runway_record(const char *text, long number, std::vector<Finding> *findings);
void check_navaid_record(const char *text, long number, std::vector<Finding> *findings);

struct CheckResult {
    long lines = 0;
    std::vector<Finding> findings;      /* in line order */
};

/* Checks a whole file; false with error set when it cannot be read. */
bool check_data_file(const std::string &path, DataKind kind, CheckResult *result,
                     std::string *error);

#endif
