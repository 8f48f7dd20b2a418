/* A small fixed generator for the benchmarks' worlds, so every machine makes
 * the same files from the same seed. */
#ifndef PELMORA_BENCH_RANDOM_H
#define PELMORA_BENCH_RANDOM_H

class Random {
public:
    explicit Random(unsigned long seed) : state_(seed * 6364136223846793005ULL + 1442695040888963407ULL) {}
    unsigned long next()
    {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return (unsigned long)(state_ >> 33);
    }
    long below(long n) { return (long)(next() % (unsigned long)n); }
    double between(double lo, double hi) { return lo + (hi - lo) * (double)(next() % 1000000) / 1e6; }
    char letter() { return (char)('A' + below(26)); }

private:
    unsigned long long state_;
};

#endif
