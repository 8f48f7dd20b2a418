/*
 * What every script command shares: its step, its outcome, and the checks
 * that end a step with "what: got X, expected Y".
 */
#ifndef PELMORA_HOST_SCRIPT_SUPPORT_H
#define PELMORA_HOST_SCRIPT_SUPPORT_H

#include <functional>
#include <map>
#include <string>
#include <vector>

struct Step {
    int line;
    std::vector<std::string> words;
};

/* done: go on with the next step; retry: run this step again on the next tick. */
enum Outcome { done, retry };

/* A failed check; the runner reports it with the step's line. */
struct Failure {
    std::string text;
};

typedef std::function<Outcome(const Step &)> Command;
typedef std::map<std::string, Command> CommandTable;

[[noreturn]] void fail(const std::string &text);
void expect_equal(const std::string &what, const std::string &got, const std::string &expected);
void expect_equal(const std::string &what, long got, long expected);
/* Equal to within a relative 1e-9. */
void expect_close(const std::string &what, double got, double expected);

/* Word i of the step; a failure when the step has fewer words. */
const std::string &word(const Step &s, size_t i);
/* Word i as a whole number (decimal, 0x hexadecimal) or a real number. */
long number(const Step &s, size_t i);
double real_number(const Step &s, size_t i);

/* The whole file name holds text, written in binary; false on any error. */
bool write_file(const std::string &name, const std::string &text);

/* A small fixed generator: a seed gives the same bytes on every machine. */
unsigned random_below(unsigned long long &state, unsigned n);

#endif
