/*
 * The floor of a keystroke: reading a data file through block and finding
 * its line ends with the reader's own word-at-a-time search.  Lines found,
 * or -1 when the file cannot be opened.
 */
#ifndef PELMORA_BENCH_FLOOR_PASS_H
#define PELMORA_BENCH_FLOOR_PASS_H

#include <stdio.h>

#include "selection/facility_file.h"

static inline long floor_pass_through(const char *name, unsigned char *block, size_t size)
{
    FILE *f = fopen(name, "rb");
    if (!f)
        return -1;
    long lines = 0;
    size_t n;
    while ((n = fread(block, 1, size, f)) > 0) {
        const unsigned char *p = block, *end = block + n;
        while ((p = find_byte_by_words(p, (size_t)(end - p), '\n')) != 0) {
            lines++;
            p++;
        }
    }
    fclose(f);
    return lines;
}

#endif
