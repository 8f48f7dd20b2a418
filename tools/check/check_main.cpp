/*
 * pelmora-check: lists, by line, what the module would read wrongly in a
 * "Prwydata.txt" or "Pnavdata.txt".  Exit status: 0 clean, 1 findings,
 * 2 a file could not be read or the usage was wrong.
 */
#include <stdio.h>
#include <string.h>
#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

#include <string>

#include "check.h"

static const int exit_clean = 0;
static const int exit_findings = 1;
static const int exit_failed = 2;

static const long shown_per_kind = 20;
static const long long progress_from = 16LL << 20;   /* files smaller finish too soon */

/* Prints findings as they come; on a terminal, a progress line on stderr
 * for big files, wiped before each finding and at the end. */
class PrintedFindings : public FindingSink {
public:
    explicit PrintedFindings(const std::string &path)
        : path_(path), terminal_(isatty(fileno(stderr)) != 0)
    {
    }
    ~PrintedFindings() override { wipe(); }

    void finding(const Finding &f) override
    {
        wipe();
        printf("%s:%ld: %s\n", path_.c_str(), f.line, f.reason.c_str());
        fflush(stdout);                 /* few (capped), and kept if the run is stopped */
    }

    void progress(long long bytes_read, long long total) override
    {
        if (!terminal_ || (total >= 0 && total < progress_from))
            return;
        fflush(stdout);
        /* Megabytes fit a long (and %ld is a format every C runtime knows). */
        const long long mb = 1 << 20;
        if (total > 0)
            fprintf(stderr, "\r%s: %ld of %ld MB read (%d%%) ", path_.c_str(),
                    (long)(bytes_read / mb), (long)(total / mb), (int)(bytes_read * 100 / total));
        else
            fprintf(stderr, "\r%s: %ld MB read ", path_.c_str(), (long)(bytes_read / mb));
        fflush(stderr);
        shown_ = true;
    }

    void wipe()
    {
        if (!shown_)
            return;
        fprintf(stderr, "\r%*s\r", (int)path_.size() + 40, "");
        fflush(stderr);
        shown_ = false;
    }

private:
    std::string path_;
    bool terminal_;
    bool shown_ = false;
};

static const char usage_text[] =
    "usage: pelmora-check [--runways | --navaids] FILE...\n"
    "\n"
    "Reads each data file as the gauge does and reports, by line, what it would\n"
    "read wrongly: tokens longer than their room, lines over 989 characters, a\n"
    "Ctrl-Z before the end, NUL bytes, lone CRs (classic Mac line ends), UTF-8\n"
    "byte-order marks, UTF-16 text, runway descriptors short of five parts,\n"
    "frequencies not ddd.dd (runways, VORs) or not whole kHz (NDBs), frequencies\n"
    "outside their band (localizers and VORs 108.00-117.95 MHz, NDBs\n"
    "190-1750 kHz), courses not whole degrees from 1 to 360, codes and names in\n"
    "lower case, repeated airport codes, more than 20 runway descriptors.\n"
    "\n"
    "Findings are printed as they are found; past the first 20 of one kind\n"
    "they are counted, and the count is given at the end.\n"
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
        PrintedFindings printed(arg);
        CappedSink capped(&printed, shown_per_kind);
        CheckSummary summary;
        std::string error;
        bool ok = check_data_file(arg, kind, &capped, &summary, &error);
        printed.wipe();
        for (int k = 0; k < (int)FindingKind::count; k++)
            if (long more = capped.held_back((FindingKind)k))
                printf("%s: ... and %ld more of this kind (%s)\n", arg.c_str(), more,
                       finding_kind_name((FindingKind)k));
        if (!ok) {
            fflush(stdout);
            fprintf(stderr, "%s: %s\n", arg.c_str(), error.c_str());
            status = exit_failed;
            continue;
        }
        if (capped.total() == 0)
            printf("%s: clean, %ld lines\n", arg.c_str(), summary.lines);
        else
            printf("%s: %ld findings in %ld lines\n", arg.c_str(), capped.total(), summary.lines);
        if (capped.total() > 0 && status == exit_clean)
            status = exit_findings;
    }
    if (files == 0) {
        fputs(usage_text, stderr);
        return exit_failed;
    }
    return status;
}
