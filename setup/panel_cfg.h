/*
 * A panel configuration file as text: its window sections, the gauge
 * numbers a section uses, and the same text with one gauge line added.
 * Portable: the setup window reads and writes the file, this only edits the
 * bytes, so that everything but the new line stays exactly as it was.
 */
#ifndef PELMORA_SETUP_PANEL_CFG_H
#define PELMORA_SETUP_PANEL_CFG_H

#include <string>
#include <vector>

/* The names of the sections "[WindowNN]" (any letter case), in file order,
 * as written between the brackets. */
std::vector<std::string> window_sections(const std::string &text);

/* The lowest gauge number that no "gaugeNN=" key of the section uses (the
 * simulator may stop reading at a gap, so a gap is filled first); -1 when
 * the section is not in the text or all of 0 to 99 are taken. */
int free_gauge_number(const std::string &text, const std::string &section);

/* Whether a "gaugeNN=" line of the section names gauge (e.g. PELMORA!V1,
 * any letter case). */
bool section_has_gauge(const std::string &text, const std::string &section,
                       const std::string &gauge);

/* "gaugeNN=PELMORA!V1, x, y"; NN is two digits, or the letters NN for -1. */
std::string gauge_line(int number, long x, long y);

/* The text with line inserted after the section's last line that is not
 * blank, ended like the file's own lines (CR LF when it has none).  False,
 * with out untouched, when the section is not there. */
bool add_gauge_line(const std::string &text, const std::string &section, const std::string &line,
                    std::string &out);

#endif
