/*
 * The converter's benchmark: makes a world-size input (35,000 airports,
 * 70,000 runways, 12,000 navaids, with taxiway rows around them), converts
 * it plain once, then gzip-compressed several times, each time alongside
 * the floor of merely decompressing that same input (gzip -dc to /dev/null,
 * and zlib's gzread in this process).  It prints the wall time, the CPU time
 * and the peak memory of each kind of run (medians), and the converter's
 * time as a multiple of the floor.  It prints figures; it asserts nothing.
 *
 *   convert_bench CONVERTER WORK_DIR [RUNS [APT_GZ NAV_GZ]]   (RUNS: default 5)
 *
 * Given APT_GZ and NAV_GZ (real world data, FlightGear's files say), it
 * measures those instead of the generated world.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../timing.h"

#include "world_gen.h"

static double cpu_seconds(const struct rusage &usage)
{
    return (double)usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 +
           (double)usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
}

static long long file_size(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? (long long)st.st_size : -1;
}

/* Runs argv (looked up on PATH) with its output and messages in the given
 * files; false when it cannot be started or waited for. */
static bool run_child(const std::vector<std::string> &args, const std::string &out,
                      const std::string &err, Timing *timing)
{
    std::vector<char *> argv;
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    fflush(stdout);  /* or the child's copy of the buffer is printed again */
    timespec start;
    clock_gettime(CLOCK_MONOTONIC, &start);
    pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        if (!freopen(out.c_str(), "w", stdout) || !freopen(err.c_str(), "w", stderr))
            _exit(126);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status;
    struct rusage usage;
    if (wait4(child, &status, 0, &usage) < 0)
        return false;
    timing->wall = seconds_since(start);
    timing->cpu = cpu_seconds(usage);
    timing->peak_mb = usage.ru_maxrss / 1024.0;
    timing->exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
}

/* Runs the converter on one pair of inputs into WORK/out-LABEL. */
static bool convert(const std::string &converter, const std::string &work, const char *label,
                    const std::string &apt, const std::string &nav, Timing *timing)
{
    std::string out = work + "/out-" + label;
    mkdir(out.c_str(), 0755);
    return run_child({converter, "-q", "--apt", apt, "--nav", nav, "-o", out}, "/dev/null",
                     out + "/messages", timing) &&
           timing->exit >= 0 && timing->exit <= 1;
}

/* Decompresses the files in this process with zlib, the bytes dropped. */
static bool zlib_read(const std::vector<std::string> &files, Timing *timing)
{
    static char block[1 << 18];
    timespec start, cpu_start, cpu_end;
    clock_gettime(CLOCK_MONOTONIC, &start);
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu_start);
    for (const std::string &file : files) {
        gzFile f = gzopen(file.c_str(), "rb");
        if (!f)
            return false;
        gzbuffer(f, 1 << 17);
        int n;
        while ((n = gzread(f, block, sizeof block)) > 0) {
        }
        gzclose(f);
        if (n < 0)
            return false;
    }
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu_end);
    timing->wall = seconds_since(start);
    timing->cpu = (double)(cpu_end.tv_sec - cpu_start.tv_sec) +
                  (double)(cpu_end.tv_nsec - cpu_start.tv_nsec) / 1e9;
    timing->exit = 0;
    return true;
}

static void print_run(const char *label, double input_mb, const Timing &t, const std::string &out)
{
    printf("%-6s input %7.1f MB: %6.2f s wall, %6.2f s CPU, peak memory %6.1f MB, exit %d, "
           "Prwydata.txt %.1f MB, Pnavdata.txt %.2f MB\n",
           label, input_mb, t.wall, t.cpu, t.peak_mb, t.exit,
           file_size(out + "/Prwydata.txt") / 1e6, file_size(out + "/Pnavdata.txt") / 1e6);
}

/* The generated world-size input in work. */
static bool make_world(const std::string &work)
{
    WorldSize size;
    WorldCounts counts;
    std::string error;
    timespec start;
    clock_gettime(CLOCK_MONOTONIC, &start);
    if (!generate_world(work, size, true, &counts, &error)) {
        fprintf(stderr, "convert_bench: %s\n", error.c_str());
        return false;
    }
    printf("world: %ld airports, %ld runways, %ld navaids, %ld localizers, %ld lines "
           "(made in %.1f s)\n",
           counts.airports, counts.runways, counts.navaids, counts.localizers, counts.lines,
           seconds_since(start));
    return true;
}

int main(int argc, char **argv)
{
    if (argc != 3 && argc != 4 && argc != 6) {
        fprintf(stderr, "usage: convert_bench CONVERTER WORK_DIR [RUNS [APT_GZ NAV_GZ]]\n");
        return 2;
    }
    const std::string converter = argv[1], work = argv[2];
    int runs = argc >= 4 ? atoi(argv[3]) : 5;
    if (runs < 1 || runs > 100) {
        fprintf(stderr, "convert_bench: RUNS from 1 to 100\n");
        return 2;
    }
    mkdir(work.c_str(), 0755);
    const std::string apt = work + "/apt.dat", nav = work + "/nav.dat";
    const std::string apt_gz = apt + ".gz", nav_gz = nav + ".gz";
    if (argc == 6) {
        /* The given files, compressed as they are and unpacked beside. */
        Timing t;
        if (!run_child({"cp", argv[4], apt_gz}, "/dev/null", "/dev/null", &t) || t.exit ||
            !run_child({"cp", argv[5], nav_gz}, "/dev/null", "/dev/null", &t) || t.exit ||
            !run_child({"gzip", "-dc", apt_gz}, apt, "/dev/null", &t) || t.exit ||
            !run_child({"gzip", "-dc", nav_gz}, nav, "/dev/null", &t) || t.exit) {
            fprintf(stderr, "convert_bench: cannot copy and unpack %s and %s\n", argv[4],
                    argv[5]);
            return 1;
        }
        printf("world: %s and %s\n", argv[4], argv[5]);
    } else if (!make_world(work)) {
        return 1;
    }
#ifdef PELMORA_BENCH_SANITIZED
    printf("note: this converter is built with sanitizers: its figures are slow and large\n");
#endif
    Timing plain;
    if (!convert(converter, work, "plain", apt, nav, &plain))
        return 1;
    print_run("plain", (file_size(apt) + file_size(nav)) / 1e6, plain, work + "/out-plain");

    /* The three kinds of run take turns, so that the machine's other load
     * falls on all of them alike. */
    std::vector<Timing> converted, gunzipped, inflated;
    for (int i = 0; i < runs; ++i) {
        Timing c, g, z;
        if (!convert(converter, work, "gzip", apt_gz, nav_gz, &c) ||
            !run_child({"gzip", "-dc", apt_gz, nav_gz}, "/dev/null", "/dev/null", &g) ||
            g.exit != 0 || !zlib_read({apt_gz, nav_gz}, &z)) {
            fprintf(stderr, "convert_bench: a run failed\n");
            return 1;
        }
        converted.push_back(c);
        gunzipped.push_back(g);
        inflated.push_back(z);
    }
    Timing c = median(converted), g = median(gunzipped), z = median(inflated);
    print_run("gzip", (file_size(apt_gz) + file_size(nav_gz)) / 1e6, c, work + "/out-gzip");
    printf("medians of %d runs, the gzip input (%.1f MB unpacked):\n", runs,
           (file_size(apt) + file_size(nav)) / 1e6);
    printf("  converter    %6.2f s wall, %6.2f s CPU\n", c.wall, c.cpu);
    printf("  gzip -dc     %6.2f s wall, %6.2f s CPU\n", g.wall, g.cpu);
    printf("  zlib gzread  %6.2f s wall, %6.2f s CPU\n", z.wall, z.cpu);
    printf("  converter / gzip -dc: %.2fx CPU, %.2fx wall; converter / zlib: %.2fx CPU\n",
           c.cpu / g.cpu, c.wall / g.wall, c.cpu / z.cpu);
    return 0;
}
