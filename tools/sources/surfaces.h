/*
 * Runway surfaces as the sources spell them.
 *
 * apt.dat gives a numbered surface code; OurAirports a free text written by
 * many hands in hundreds of spellings (ASP, ASPH-G, Asphalt, "ASPH/ CONC",
 * PEM, MAC, Cement, Grassed brown clay, WATER-E, ...).  Both come down to
 * one of four kinds; "hard" is what --hard-only keeps.
 */
#ifndef PELMORA_TOOLS_SURFACES_H
#define PELMORA_TOOLS_SURFACES_H

#include <string_view>

enum class SurfaceKind {
    hard,                               /* asphalt, concrete, bitumen, tar, any paving, built decks */
    soft,                               /* grass, earth, gravel, sand, clay, snow, ice */
    water,
    unknown                             /* empty, UNK, a lone letter, anything not recognised */
};

/* The kind of an OurAirports surface text.  The first word that names a
 * material decides (ASPH-TURF is asphalt, TURF/ASP turf); a condition
 * suffix (-G, -F, -P, -E) or a colour does not count, and a word such as
 * "Hard" or "Compacted" counts only when nothing follows it. */
SurfaceKind surface_kind(std::string_view text);

/* The kind of an apt.dat surface code (1 asphalt, 2 concrete, 3 turf, ...). */
SurfaceKind surface_kind(long code);

const char *surface_kind_name(SurfaceKind kind);

#endif
