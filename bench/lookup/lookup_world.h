/*
 * A made-up world in the module's own data format, for the lookup
 * benchmarks: "Prwydata.txt" (one airport per line, 1 to 20 runway
 * descriptors) and "Pnavdata.txt" (VORs and NDBs), CR LF line ends as the
 * converter writes them.  The same seed gives the same bytes on every
 * machine.
 *
 * Codes are four-letter ICAO-style codes spread over the world's regions
 * the way real ones are (about a quarter in K, dense three-letter prefixes
 * such as KSE or EGL), with a few longer codes that extend a four-letter
 * one; names are upper-case tokens, many sharing a long first part
 * (AEROPUERTO_INTERNACIONAL_..., FLUGPLATZ_...).  KSEA and EGLL are always
 * there with their runways, SEA among the navaids, so the typing sequences
 * of the benchmark end in an exact match.
 */
#ifndef PELMORA_BENCH_LOOKUP_WORLD_H
#define PELMORA_BENCH_LOOKUP_WORLD_H

#include <string>

struct LookupWorldSize {
    long airports = 35000;
    long navaids = 12000;
    unsigned long seed = 1;
    /* Source: grouped by country (the code's first two letters), the groups
     * and the airports in each in no order, as a data source lists them;
     * random: no order at all; sorted: quick-pick order. */
    enum Order { source, random, sorted } order = source;
    /* Small fields: most airports with one runway listed at both ends and
     * no ILS, as in FlightGear's world once converted (28,000 airports in
     * 1.8 MB); else a busier world, three runway ends an airport. */
    bool small_fields = false;
};

struct LookupWorldCounts {
    long airports = 0, descriptors = 0, navaids = 0;
    long long runway_bytes = 0, navaid_bytes = 0;
};

/* Writes Prwydata.txt and Pnavdata.txt into directory.  False, with error
 * set, when a file cannot be written. */
bool write_lookup_world(const std::string &directory, const LookupWorldSize &size,
                        LookupWorldCounts *counts, std::string *error);

/* Writes a runway file of at least bytes bytes at path: the world's airports
 * over and over, with every fiftieth line far longer than one read (more
 * than 22 tokens, some over 79 characters).  For the tests of a very large
 * file. */
bool write_large_runway_file(const std::string &path, long long bytes, unsigned long seed,
                             std::string *error);

#endif
