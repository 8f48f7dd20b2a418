/*
 * The nav.dat reader on arbitrary bytes, then a small apt.dat so that the
 * localizers read are joined to runway ends by place and their courses
 * made: VORs, NDBs and localizers through the bands, the joiner and the
 * magnetic model, nothing overrun.
 *
 * Input: the nav.dat file's bytes.
 */
#include <string.h>

#include "fuzz_convert_input.h"
#include "sources/xplane.h"

static const char airports[] =
    "I\n1100 Version\n"
    "1 433 1 0 KSEA Seattle-Tacoma Intl\n"
    "100 45.72 1 0 0.25 1 3 1 16L 47.46380556 -122.30777778 0.00 100.89 3 2 0 1 34R "
    "47.43147222 -122.30796111 0.00 0.00 3 2 0 1\n"
    "1 10 0 0 EDDF Frankfurt\n"
    "100 60.00 21 0 0.25 1 3 1 07C 50.03254000 8.53484000 0.00 0.00 3 2 0 1 25C 50.04534000 "
    "8.58700000 0.00 0.00 3 2 0 1\n"
    "99\n";

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    write_input("nav.dat", data, size);
    write_input("apt.dat", (const uint8_t *)airports, strlen(airports));
    QuietConversion c;
    ReadOutcome outcome;
    if (read_nav_dat("nav.dat", c.converter, c.report, &outcome))
        read_apt_dat("apt.dat", c.converter, c.report, &outcome);
    c.converter.finish(true);
    c.converter.empty_result(true, true);
    return 0;
}
