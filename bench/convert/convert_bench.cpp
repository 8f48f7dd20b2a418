/*
 * The converter's benchmark: makes a world-size input (35,000 airports,
 * 70,000 runways, 12,000 navaids, with taxiway rows around them), converts
 * it plain and gzip-compressed with the real pelmora-convert, and prints the
 * wall time, the CPU time and the peak memory of each run (getrusage of the
 * child).  It prints figures; it asserts nothing.
 *
 *   convert_bench CONVERTER WORK_DIR
 */
#include <stdio.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <string>

#include "world_gen.h"

static double seconds_since(const timespec &start)
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)(now.tv_sec - start.tv_sec) + (double)(now.tv_nsec - start.tv_nsec) / 1e9;
}

static long long file_size(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? (long long)st.st_size : -1;
}

/* Runs the converter on one pair of inputs and prints its figures. */
static bool run(const std::string &converter, const std::string &work, const char *label,
                const std::string &apt, const std::string &nav)
{
    std::string out = work + "/out-" + label;
    mkdir(out.c_str(), 0755);
    timespec start;
    clock_gettime(CLOCK_MONOTONIC, &start);
    pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        FILE *log = freopen((out + "/messages").c_str(), "w", stderr);
        (void)log;
        execl(converter.c_str(), converter.c_str(), "-q", "--apt", apt.c_str(), "--nav",
              nav.c_str(), "-o", out.c_str(), (char *)0);
        _exit(127);
    }
    int status;
    struct rusage usage;
    if (wait4(child, &status, 0, &usage) < 0)
        return false;
    double wall = seconds_since(start);
    double cpu = (double)usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 +
                 (double)usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
    printf("%-6s input %7.1f MB: %6.2f s wall, %6.2f s CPU, peak memory %6.1f MB, exit %d, "
           "Prwydata.txt %.1f MB, Pnavdata.txt %.2f MB\n",
           label, (file_size(apt) + file_size(nav)) / 1e6, wall, cpu, usage.ru_maxrss / 1024.0,
           WIFEXITED(status) ? WEXITSTATUS(status) : -1, file_size(out + "/Prwydata.txt") / 1e6,
           file_size(out + "/Pnavdata.txt") / 1e6);
    return WIFEXITED(status) && WEXITSTATUS(status) <= 1;
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: convert_bench CONVERTER WORK_DIR\n");
        return 2;
    }
    const std::string converter = argv[1], work = argv[2];
    mkdir(work.c_str(), 0755);
    WorldSize size;
    WorldCounts counts;
    std::string error;
    timespec start;
    clock_gettime(CLOCK_MONOTONIC, &start);
    if (!generate_world(work, size, true, &counts, &error)) {
        fprintf(stderr, "convert_bench: %s\n", error.c_str());
        return 1;
    }
    printf("world: %ld airports, %ld runways, %ld navaids, %ld localizers, %ld lines "
           "(made in %.1f s)\n",
           counts.airports, counts.runways, counts.navaids, counts.localizers, counts.lines,
           seconds_since(start));
#ifdef PELMORA_BENCH_SANITIZED
    printf("note: this converter is built with sanitizers: its figures are slow and large\n");
#endif
    bool ok = run(converter, work, "plain", work + "/apt.dat", work + "/nav.dat") &&
              run(converter, work, "gzip", work + "/apt.dat.gz", work + "/nav.dat.gz");
    return ok ? 0 : 1;
}
