/*
 * Readers of the X-Plane-style text files: apt.dat (versions 850 to 1200)
 * and nav.dat (810 to 1200), plain or gzip-compressed.
 *
 * Each streams its file once and hands records to the converter as it meets
 * them; an apt.dat airport goes out when the next airport header (or the
 * closing "99") is read, so only one airport is held at a time.  nav.dat
 * must be read first: its localizers are joined as the airports come.
 *
 * Bad rows are reported and skipped (a bad airport header skips its whole
 * airport).  A wrong first line, an unsupported version, a first row that is
 * not of the file's kind, damaged compressed data and a missing closing "99"
 * are fatal: the reader returns false with the message in *fatal.
 */
#ifndef PELMORA_TOOLS_XPLANE_H
#define PELMORA_TOOLS_XPLANE_H

#include <string>

#include "convert/converter.h"
#include "common/report.h"

struct ReadOutcome {
    long lines = 0;
    std::string fatal;                  /* "file:line: reason" when the read failed */
};

bool read_apt_dat(const std::string &path, Converter &converter, Report &report,
                  ReadOutcome *outcome);
bool read_nav_dat(const std::string &path, Converter &converter, Report &report,
                  ReadOutcome *outcome);

#endif
