/*
 * The ICAO lookup's benchmark, native: makes a world-size runway and navaid
 * file, then times the portable lookup per keystroke of the typing
 * sequences against the floor, reading the same file from the page cache
 * and finding its line ends.  Lists are arrays that copy each entry, as a
 * control would; the control's own sorting is not part of the core.
 *
 *   lookup_bench WORK_DIR [RUNS]
 *
 * Every figure is the median of RUNS runs (default 21), the floor measured
 * alternately with the lookup so that both see the same machine.  The ratio
 * is of CPU time (the thread's, user and kernel): on a shared machine the
 * wall time also holds the waits for a core, and those are printed beside
 * it.  It prints figures; it asserts nothing.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lookup_world.h"
#include "selection/facility_file.h"
#include "selection/searches.h"
#include "floor_pass.h"

namespace {

/* A list that keeps copies of its entries in one arena, made before the
 * timing starts. */
class ArenaList : public ListControl {
public:
    explicit ArenaList(size_t room) : arena_((char *)malloc(room)), room_(room) {}
    ~ArenaList() { free(arena_); }
    void clear() override { used_ = 0, count_ = 0, selected_ = -1; }
    bool add(const char *entry) override
    {
        size_t n = strlen(entry) + 1;
        if (used_ + n <= room_) {
            memcpy(arena_ + used_, entry, n);
            used_ += n;
        }
        count_++;
        return true;
    }
    void select(int index) override { selected_ = index < count_ ? index : -1; }
    int count() override { return count_; }
    int selected() override { return selected_; }
    bool text(int, char *out, size_t) override
    {
        out[0] = 0;
        return false;
    }

private:
    char *arena_;
    size_t room_, used_ = 0;
    int count_ = 0, selected_ = -1;
};

/* A moment on the wall clock and on the thread's CPU clock. */
struct Moment {
    double wall, cpu;                   /* ms */
};

double ms(const timespec &t)
{
    return (double)t.tv_sec * 1e3 + (double)t.tv_nsec / 1e6;
}

Moment now()
{
    timespec wall, cpu;
    clock_gettime(CLOCK_MONOTONIC, &wall);
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
    return {ms(wall), ms(cpu)};
}

/* The floor: the file read from the page cache in the reader's block size,
 * its line ends found with the reader's own search, a machine word pair at a
 * time (the module's reader runs no vectorised memchr: the platforms it is
 * built for have none). */
long floor_pass(const char *name)
{
    static unsigned char block[64 * 1024];
    return floor_pass_through(name, block, sizeof block);
}

/* Line counts of the floor passes, kept so that no pass is optimised away. */
volatile long floor_lines;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double peak_mb()
{
    rusage u;
    getrusage(RUSAGE_SELF, &u);
    return (double)u.ru_maxrss / 1024.0;
}

struct Keystroke {
    const char *typed;
    bool airport_mode;
};
const Keystroke keystrokes[] = {
    {"", true},  {"K", true},  {"KS", true},    {"KSE", true}, {"KSEA", true},
    {"E", true}, {"EG", true}, {"EGLL", true}, {"S", false},  {"SEA", false},
};

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 2 && argc != 3) {
        fprintf(stderr, "usage: lookup_bench WORK_DIR [RUNS]\n");
        return 2;
    }
    const int runs = argc == 3 ? std::max(1, atoi(argv[2])) : 21;
    mkdir(argv[1], 0755);
    LookupWorldSize size;
    LookupWorldCounts counts;
    std::string error;
    if (!write_lookup_world(argv[1], size, &counts, &error) || chdir(argv[1]) != 0) {
        fprintf(stderr, "lookup_bench: %s\n", error.empty() ? argv[1] : error.c_str());
        return 1;
    }
    printf("world: %ld airports, %ld runway descriptors (%.2f MB), %ld navaids (%.2f MB)\n",
           counts.airports, counts.descriptors, counts.runway_bytes / 1e6, counts.navaids,
           counts.navaid_bytes / 1e6);
#ifdef PELMORA_BENCH_SANITIZED
    printf("note: built with sanitizers: these figures are slow and large\n");
#endif
    printf("median of %d runs; floor = the same file read from the page cache, line ends found\n",
           runs);
    printf("%-10s %-7s %6s %7s %9s %9s %8s %9s %9s\n", "keystroke", "file", "pick", "results",
           "cpu ms", "floor ms", "x floor", "wall ms", "floor ms");

    ArenaList pick(16 << 20), results(16 << 20);
    floor_lines = floor_pass(RUNWAY_FILE_NAME);   /* into the page cache */
    floor_lines = floor_pass(NAVAID_FILE_NAME);
    double peak_after_first = 0, worst_ratio = 0;
    for (int round = 0; round < 2; round++) {
        for (const Keystroke &k : keystrokes) {
            const char *file = k.airport_mode ? RUNWAY_FILE_NAME : NAVAID_FILE_NAME;
            std::vector<double> lookup_cpu, floor_cpu, lookup_wall, floor_wall;
            for (int r = 0; r < runs; r++) {
                Moment t0 = now();
                floor_lines = floor_pass(file);
                Moment t1 = now();
                icao_lookup(k.typed, k.airport_mode, pick, results);
                Moment t2 = now();
                floor_cpu.push_back(t1.cpu - t0.cpu);
                lookup_cpu.push_back(t2.cpu - t1.cpu);
                floor_wall.push_back(t1.wall - t0.wall);
                lookup_wall.push_back(t2.wall - t1.wall);
            }
            if (round == 0)
                continue;       /* the first round warms up */
            double l = median(lookup_cpu), f = median(floor_cpu);
            worst_ratio = std::max(worst_ratio, l / f);
            char label[16];
            snprintf(label, sizeof label, "\"%s\"", k.typed);
            printf("%-10s %-7s %6d %7d %9.3f %9.3f %8.2f %9.3f %9.3f\n", label,
                   k.airport_mode ? "runway" : "navaid", pick.count(), results.count(), l, f,
                   l / f, median(lookup_wall), median(floor_wall));
        }
        if (round == 0)
            peak_after_first = peak_mb();
    }
    printf("worst ratio to the floor: %.2f (target: at most 2)\n", worst_ratio);
    printf("peak memory: %.1f MB after %zu lookups, %.1f MB after %zu (lists' arenas: 32 MB "
           "reserved, touched as filled)\n",
           peak_after_first, (size_t)runs * (sizeof keystrokes / sizeof *keystrokes), peak_mb(),
           (size_t)runs * 2 * (sizeof keystrokes / sizeof *keystrokes));
    return 0;
}
