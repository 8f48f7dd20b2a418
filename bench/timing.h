/*
 * The benchmarks' figures of one run (wall and CPU seconds, peak memory,
 * exit status) and the median of several, field by field.
 */
#ifndef PELMORA_BENCH_TIMING_H
#define PELMORA_BENCH_TIMING_H

#include <time.h>

#include <algorithm>
#include <vector>

struct Timing {
    double wall = 0, cpu = 0, peak_mb = 0;
    int exit = -1;
};

static inline double seconds_since(const timespec &start)
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)(now.tv_sec - start.tv_sec) + (double)(now.tv_nsec - start.tv_nsec) / 1e9;
}

/* Each field's median over runs (not empty); the exit status is the last run's. */
static inline Timing median(const std::vector<Timing> &runs)
{
    Timing m;
    size_t mid = runs.size() / 2;
    auto pick = [&](double Timing::*field) {
        std::vector<double> v;
        for (const Timing &t : runs)
            v.push_back(t.*field);
        std::nth_element(v.begin(), v.begin() + mid, v.end());
        return v[mid];
    };
    m.wall = pick(&Timing::wall);
    m.cpu = pick(&Timing::cpu);
    m.peak_mb = pick(&Timing::peak_mb);
    m.exit = runs.back().exit;
    return m;
}

#endif
