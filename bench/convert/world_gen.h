/*
 * A made-up world for the converter's benchmark: an apt.dat (1200) and a
 * nav.dat (1200) of world size, the same bytes for the same seed.
 */
#ifndef PELMORA_BENCH_WORLD_GEN_H
#define PELMORA_BENCH_WORLD_GEN_H

#include <string>

struct WorldSize {
    long airports = 35000;              /* headers of every kind */
    long runways = 70000;               /* runway rows, about */
    long navaids = 12000;               /* VORs and NDBs */
    long filler_rows = 40;              /* taxiway and gate rows per airport, on average */
    unsigned long seed = 1;
};

struct WorldCounts {
    long airports = 0, runways = 0, navaids = 0, localizers = 0, lines = 0;
};

/* Writes apt.dat and nav.dat into directory (and, with gzip, also
 * apt.dat.gz and nav.dat.gz).  False, with error set, when a file cannot be
 * written. */
bool generate_world(const std::string &directory, const WorldSize &size, bool gzip,
                    WorldCounts *counts, std::string *error);

#endif
