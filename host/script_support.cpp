#include "script_support.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

[[noreturn]] void fail(const std::string &text)
{
    throw Failure{text};
}

void expect_equal(const std::string &what, const std::string &got, const std::string &expected)
{
    if (got != expected)
        fail(what + ": got \"" + got + "\", expected \"" + expected + "\"");
}

void expect_equal(const std::string &what, long got, long expected)
{
    if (got != expected)
        fail(what + ": got " + std::to_string(got) + ", expected " + std::to_string(expected));
}

void expect_close(const std::string &what, double got, double expected)
{
    double tolerance = 1e-9 * (fabs(expected) > 1 ? fabs(expected) : 1);
    if (!(fabs(got - expected) <= tolerance)) {
        char text[160];
        snprintf(text, sizeof text, "%s: got %.10g, expected %.10g", what.c_str(), got, expected);
        fail(text);
    }
}

const std::string &word(const Step &s, size_t i)
{
    if (i >= s.words.size())
        fail("'" + s.words[0] + "' needs more words");
    return s.words[i];
}

long number(const Step &s, size_t i)
{
    const std::string &w = word(s, i);
    char *end = 0;
    long value = strtol(w.c_str(), &end, 0);
    if (*end)
        fail("not a number: " + w);
    return value;
}

double real_number(const Step &s, size_t i)
{
    const std::string &w = word(s, i);
    char *end = 0;
    double value = strtod(w.c_str(), &end);
    if (end == w.c_str() || *end)
        fail("not a number: " + w);
    return value;
}

bool write_file(const std::string &name, const std::string &text)
{
    FILE *f = fopen(name.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
    return fclose(f) == 0 && ok;
}

unsigned random_below(unsigned long long &state, unsigned n)
{
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return (unsigned)((state >> 33) % n);
}
