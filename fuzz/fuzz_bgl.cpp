/*
 * The sectioned BGL reader on arbitrary bytes: header, section pointers,
 * subsection tables, records and subrecords, nothing overrun, nothing read
 * twice over, and nothing returned that fails the reader's own plausibility
 * limits.
 *
 * Input: the file's bytes.
 */
#include <math.h>
#include <stdlib.h>

#include "sources/bgl/bgl.h"

static void check(bool ok)
{
    if (!ok)
        abort();
}

static bool place_ok(double latitude, double longitude)
{
    return latitude >= -90 && latitude <= 90 && longitude >= -180 && longitude < 180;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    BglFile file;
    read_bgl_memory(data, size, &file);
    /* The header and the pointers once, the rest at most the file's size. */
    check(file.bytes_read <= 2 * (unsigned long long)size);
    check(file.kind == BglKind::sectioned || (file.airports.empty() && file.vor_ils.empty() &&
                                              file.ndbs.empty()));
    for (const BglProblem &p : file.problems)
        check(p.offset >= -1 && (unsigned long long)p.offset <= size && !p.what.empty());
    for (const BglAirport &a : file.airports) {
        check(!a.ident.empty() && place_ok(a.latitude, a.longitude));
        check(fabs(a.magnetic_variation) <= 360);
        for (const BglRunway &r : a.runways) {
            check(place_ok(r.latitude, r.longitude));
            check(r.heading >= 0 && r.heading <= 360 && r.length_m > 0);
            check(r.primary_number >= 1 && r.primary_number <= 44);
            check(r.primary_designator >= 0 && r.primary_designator <= 4);
            check(r.secondary_designator >= 0 && r.secondary_designator <= 4);
        }
    }
    for (const BglVorIls &v : file.vor_ils) {
        check(!v.ident.empty() && place_ok(v.latitude, v.longitude));
        check(v.frequency_hz >= 108000000 && v.frequency_hz <= 117950000);
        check(v.type >= BglVorIls::terminal && v.type <= BglVorIls::vot);
        check(!v.has_localizer || (v.localizer_heading >= 0 && v.localizer_heading <= 360));
    }
    for (const BglNdb &n : file.ndbs)
        check(!n.ident.empty() && place_ok(n.latitude, n.longitude) && n.frequency >= 190 &&
              n.frequency <= 1750000);
    return 0;
}
