/*
 * The apt.dat reader on arbitrary bytes (plain or, with a gzip header,
 * compressed): every row code through its handler, airports handed to the
 * converter, the runway lines made, nothing overrun.
 *
 * Input: the file's bytes.
 */
#include "fuzz_convert_input.h"
#include "sources/xplane.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    write_input("apt.dat", data, size);
    QuietConversion c;
    ReadOutcome outcome;
    read_apt_dat("apt.dat", c.converter, c.report, &outcome);
    c.converter.finish(true);
    c.converter.empty_result(true, false);
    return 0;
}
