/*
 * What the converter's fuzz targets share: the input written to files in
 * the working folder (run.sh runs each target in a folder of its own) and a
 * converter that writes nothing, its messages going nowhere.
 */
#ifndef PELMORA_FUZZ_CONVERT_INPUT_H
#define PELMORA_FUZZ_CONVERT_INPUT_H

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include <string>

#include "convert/converter.h"
#include "common/report.h"

/* Writes bytes into name in the working folder. */
static inline void write_input(const char *name, const uint8_t *data, size_t size)
{
    FILE *f = fopen(name, "wb");
    if (!f)
        abort();
    if (size > 0 && fwrite(data, 1, size, f) != size)
        abort();
    fclose(f);
}

/* A report into the void and a converter without output files. */
struct QuietConversion {
    FILE *sink = fopen("/dev/null", "w");
    Report report{sink};
    Filters filters;
    Converter converter{filters, report};
    QuietConversion() { converter.set_magnetic_year(2026.0); }
    ~QuietConversion() { fclose(sink); }
};

#endif
