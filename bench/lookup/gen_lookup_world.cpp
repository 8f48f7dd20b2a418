/* gen_lookup_world DIR [--airports N] [--navaids N] [--seed S]
 *                      [--sorted | --random] [--small-fields] [--large BYTES]
 * Writes a made-up world's Prwydata.txt and Pnavdata.txt into DIR; with
 * --large, only a runway file of at least BYTES bytes. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "lookup_world.h"

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: gen_lookup_world DIR [--airports N] [--navaids N] [--seed S] "
                        "[--sorted | --random] [--small-fields] [--large BYTES]\n");
        return 2;
    }
    LookupWorldSize size;
    long long large = 0;
    for (int i = 2; i < argc; i++) {
        const char *a = argv[i];
        const char *value = i + 1 < argc ? argv[i + 1] : 0;
        if (!strcmp(a, "--sorted") || !strcmp(a, "--random")) {
            size.order = a[2] == 's' ? LookupWorldSize::sorted : LookupWorldSize::random;
            continue;
        }
        if (!strcmp(a, "--small-fields")) {
            size.small_fields = true;
            continue;
        }
        if (!value) {
            fprintf(stderr, "gen_lookup_world: %s needs a value\n", a);
            return 2;
        }
        if (!strcmp(a, "--airports")) size.airports = atol(value);
        else if (!strcmp(a, "--navaids")) size.navaids = atol(value);
        else if (!strcmp(a, "--seed")) size.seed = strtoul(value, 0, 10);
        else if (!strcmp(a, "--large")) large = atoll(value);
        else {
            fprintf(stderr, "gen_lookup_world: unknown option %s\n", a);
            return 2;
        }
        i++;
    }
    std::string error;
    if (large > 0) {
        if (!write_large_runway_file(std::string(argv[1]) + "/Prwydata.txt", large, size.seed,
                                     &error)) {
            fprintf(stderr, "gen_lookup_world: %s\n", error.c_str());
            return 1;
        }
        return 0;
    }
    LookupWorldCounts counts;
    if (!write_lookup_world(argv[1], size, &counts, &error)) {
        fprintf(stderr, "gen_lookup_world: %s\n", error.c_str());
        return 1;
    }
    printf("%ld airports, %ld runway descriptors, %ld navaids; Prwydata.txt %.2f MB, "
           "Pnavdata.txt %.2f MB\n",
           counts.airports, counts.descriptors, counts.navaids, counts.runway_bytes / 1e6,
           counts.navaid_bytes / 1e6);
    return 0;
}
