/*
 * The frame that apt.dat and nav.dat share, for their two readers:
 *
 *   I                                   origin: I (PC) or A (Mac), optional
 *   1100 Version - data cycle 2019.01, build 20190101, metadata AptXP1100.
 *   ...rows: a numeric row code, then fields separated by blanks...
 *   99                                  the end, optional; nothing after it is read
 *
 * Blank lines and # comments may stand anywhere, also before the version
 * line.  Rows of codes a reader does not use are counted by code for the
 * summary, not reported one by one.
 */
#ifndef PELMORA_TOOLS_XPLANE_FILE_H
#define PELMORA_TOOLS_XPLANE_FILE_H

#include <map>
#include <string>

#include "convert/facilities.h"
#include "common/fields.h"
#include "common/line_reader.h"
#include "common/report.h"
#include "xplane.h"

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
     * before it or its data is damaged.  fields holds the row code alone:
     * a reader that takes the row splits it with fields->assign(fields->line()). */
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

/* True when code is one of count codes. */
bool is_known(long code, const long *codes, size_t count);
/* A latitude and longitude, both numbers within their ranges. */
bool parse_position(std::string_view lat_text, std::string_view lon_text, double *lat,
                    double *lon);

#endif
