/*
 * pelmora-check: lists, by line, what the module would read wrongly in a
 * "Prwydata.txt" or "Pnavdata.txt".  Exit status: 0 clean, 1 findings,
 * 2 a file could not be read or the usage was wrong.
 */
#include <stdio.h>
#include <string.h>

#include <string>

#include "check.h"

static const int exit_clean = 0;
static const int exit_findings = 1;
static const int exit_failed = 2;

static const char usage_text[] =
    "usage: pelmora-check [--runways | --navaids] FILE...\n"
    "\n"
    "Reads each data file as the gauge does and reports, by line, what it would\n"
    "read wrongly: tokens longer than their room, lines over 989 characters, a\n"
    "Ctrl-Z before the end, runway descriptors short of five parts, frequencies\n"
    "not ddd.dd (runways, VORs) or not whole kHz (NDBs), codes and names in lower\n"
    "case, repeated airport codes, more than 20 runway descriptors.\n"
    "\n"
    "The file's name tells its kind (Prwydata.txt: runways, Pnavdata.txt:\n"
    "navaids); --runways or --navaids sets it for the files that follow.\n"
    "\n"
    "Exit status: 0 clean, 1 findings, 2 a file could not be read.\n";

int main(int argc, char **argv)
{
    bool kind_given = false;
    DataKind given = DataKind::runways;
    int files = 0, status = exit_clean;
    for (int i = 1; i < argc; i++) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            fputs(usage_text, stdout);
            return exit_clean;
        }
        if (arg == "--runways" || arg == "--navaids") {
            kind_given = true;
            given = arg == "--runways" ? DataKind::runways : DataKind::navaids;
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            fprintf(stderr, "pelmora-check: unknown option '%s'\n%s", arg.c_str(), usage_text);
            return exit_failed;
        }
        files++;
        DataKind kind = given;
        if (!kind_given && !data_kind_from_name(arg, &kind)) {
            fprintf(stderr,
                    "%s: cannot tell a runway file from a navaid file by this name: "
                    "give --runways or --navaids\n",
                    arg.c_str());
            status = exit_failed;
            continue;
        }
        CheckResult result;
        std::string error;
        if (!check_data_file(arg, kind, &result, &error)) {
            fprintf(stderr, "%s: %s\n", arg.c_str(), error.c_str());
            status = exit_failed;
            continue;
        }
        for (const Finding &f : result.findings)
            printf("%s:%ld: %s\n", arg.c_str(), f.line, f.reason.c_str());
        if (result.findings.empty())
            printf("%s: clean, %ld lines\n", arg.c_str(), result.lines);
        else
            printf("%s: %ld findings in %ld lines\n", arg.c_str(), (long)result.findings.size(),
                   result.lines);
        if (!result.findings.empty() && status == exit_clean)
            status = exit_findings;
    }
    if (files == 0) {
        fputs(usage_text, stderr);
        return exit_failed;
    }
    return status;
}
