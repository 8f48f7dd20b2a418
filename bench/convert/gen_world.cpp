/* gen_world DIR [AIRPORTS RUNWAYS NAVAIDS]: writes a made-up world's
 * apt.dat and nav.dat (and their .gz copies) into DIR. */
#include <stdio.h>
#include <stdlib.h>

#include "world_gen.h"

int main(int argc, char **argv)
{
    if (argc != 2 && argc != 5) {
        fprintf(stderr, "usage: gen_world DIR [AIRPORTS RUNWAYS NAVAIDS]\n");
        return 2;
    }
    WorldSize size;
    if (argc == 5) {
        size.airports = atol(argv[2]);
        size.runways = atol(argv[3]);
        size.navaids = atol(argv[4]);
    }
    WorldCounts counts;
    std::string error;
    if (!generate_world(argv[1], size, true, &counts, &error)) {
        fprintf(stderr, "gen_world: %s\n", error.c_str());
        return 1;
    }
    printf("%ld airports, %ld runways, %ld navaids, %ld localizers, %ld lines\n", counts.airports,
           counts.runways, counts.navaids, counts.localizers, counts.lines);
    return 0;
}
