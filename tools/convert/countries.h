/*
 * Countries by ISO 3166 code and by name, for --country: OurAirports gives
 * the two-letter code, apt.dat's "1302 country" free text ("United States",
 * "USA United States", "Germany").
 */
#ifndef PELMORA_TOOLS_COUNTRIES_H
#define PELMORA_TOOLS_COUNTRIES_H

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "facilities.h"
#include "common/report.h"

/* The two-letter ISO 3166 code of a country given by its two- or
 * three-letter code, by its name or a common form of it (any case, accents
 * alike), or by a code followed by the name ("USA United States");
 * empty when the text names no country known here. */
std::string country_code(std::string_view text);

/* The --country filter. */
class CountryFilter {
public:
    /* wanted: codes or names, as the user gave them. */
    explicit CountryFilter(const std::vector<std::string> &wanted);
    bool active() const { return !wanted_.empty(); }
    /* True when text (a record's country) is one of the wanted countries.  A
     * text that names no known country is reported once, at the first
     * record that gives it. */
    bool admits(const std::string &text, const SourceLine &where, Report &report);

private:
    std::vector<std::string> wanted_;
    std::unordered_set<std::string> unknown_;
};

#endif
