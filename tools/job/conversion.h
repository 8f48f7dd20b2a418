/*
 * One conversion, from its sources to the committed pair of data files: what
 * the command-line converter and the setup window both run.  The caller says
 * what to read and where to write; messages, progress and a request to stop
 * travel through the Report (see report.h).
 *
 * The outcome is one of three: the files written and the input clean; the
 * files written but bad input rows skipped (each reported); nothing written
 * (bad request, I/O, wrong or damaged input, a folder that is no
 * simulator's, a scenery library of which no file could be read, no
 * airport passing the filters of an airport source, a result with both
 * files empty, or stopped), the files already in the output folder left as
 * they were.  When airports pass but no navaid does, both are written, the
 * navaid file empty, with a note.
 */
#ifndef PELMORA_TOOLS_CONVERSION_H
#define PELMORA_TOOLS_CONVERSION_H

#include <string>
#include <vector>

#include "common/report.h"
#include "convert/converter.h"

enum ConversionStatus {
    conversion_clean = 0,
    conversion_bad_rows = 1,
    conversion_failed = 2,
};

struct ConversionRequest {
    std::vector<std::string> apt_files;   /* read in this order; an airport's first definition wins */
    std::string nav_file;
    std::string ourairports_dir;
    std::string xplane_dir;               /* an X-Plane 11/12 folder: what that X-Plane flies with */
    std::string flightgear_dir;           /* an FGData folder: Airports/apt.dat.gz, Navaids/nav.dat.gz */
    std::string scenery_dir;              /* the simulator's own folder: its scenery library */
    std::string scenery_cfg;              /* its scenery.cfg, when not in scenery_dir */
    std::string output_dir;               /* "" is the current folder */
    bool crlf = true;
    int year = 0, month = 0, day = 0;     /* the date of the magnetic courses; 0 is today */
    Filters filters;
};

struct ConversionResult {
    ConversionStatus status = conversion_failed;
    bool stopped = false;                 /* the listener asked to stop: nothing written */
    long airports_written = 0, navaids_written = 0;
    std::string summary;                  /* the closing summary, as reported */
};

/* The request's own faults (no input, two airport sources, a simulator
 * folder beside named files, the scenery beside any other source), before
 * any file is touched; empty when it can run. */
std::string request_problem(const ConversionRequest &request);

/* Runs the conversion; every message, the summary included, goes to report. */
ConversionStatus run_conversion(const ConversionRequest &request, Report &report,
                                ConversionResult *result = nullptr);

#endif
