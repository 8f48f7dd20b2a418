#include "conversion.h"

#include <stdio.h>
#include <time.h>

#include "convert/magnetic.h"
#include "selection/facility_file.h"
#include "sources/ourairports.h"
#include "sources/scenery.h"
#include "sources/sim_folders.h"
#include "sources/xplane.h"

std::string request_problem(const ConversionRequest &request)
{
    const bool files = !request.apt_files.empty() || !request.nav_file.empty() ||
                       !request.ourairports_dir.empty();
    const bool scenery = !request.scenery_dir.empty();
    if (!request.scenery_cfg.empty() && !scenery)
        return "--scenery-cfg needs --scenery SIMDIR: its areas' folders are relative to the "
               "simulator's folder";
    if (scenery && (files || !request.xplane_dir.empty() || !request.flightgear_dir.empty()))
        return "the simulator's scenery (--scenery) gives both airports and navaids: give it "
               "without --xplane, --flightgear, --apt, --nav or --ourairports";
    if (scenery)
        return std::string();
    if (!request.xplane_dir.empty() && !request.flightgear_dir.empty())
        return "choose one simulator folder: --xplane or --flightgear";
    if ((!request.xplane_dir.empty() || !request.flightgear_dir.empty()) && files)
        return "a simulator folder (--xplane, --flightgear) gives both airports and navaids: "
               "give it without --apt, --nav or --ourairports";
    if (!request.apt_files.empty() && !request.ourairports_dir.empty())
        return "choose one airport source: --apt or --ourairports";
    if (!files && request.xplane_dir.empty() && request.flightgear_dir.empty())
        return "no input: give --scenery, --xplane, --flightgear, --apt, --ourairports or --nav";
    return std::string();
}

/* A simulator folder's files put in the request, as if named one by one;
 * false, with the message said, when the folder is none of its kind. */
static bool resolve_folder(const ConversionRequest &request, Report &report,
                           ConversionRequest *resolved, std::string *files_read)
{
    *resolved = request;
    if (request.xplane_dir.empty() && request.flightgear_dir.empty())
        return true;
    const bool xplane = !request.xplane_dir.empty();
    SimulatorFiles files;
    std::string problem = xplane ? xplane_files(request.xplane_dir, &files)
                                 : flightgear_files(request.flightgear_dir, &files);
    if (!problem.empty()) {
        report.say(problem + "\nnothing written");
        return false;
    }
    for (const std::string &note : files.notes)
        report.say(note);
    resolved->xplane_dir.clear();
    resolved->flightgear_dir.clear();
    resolved->apt_files = files.apt_files;
    resolved->nav_file = files.nav_file;
    *files_read = std::string("files read from ") + (xplane ? "X-Plane " : "FlightGear ") +
                  (xplane ? request.xplane_dir : request.flightgear_dir) + ":";
    if (!files.nav_file.empty())
        *files_read += "\n  navaids:  " + files.nav_file;
    for (const std::string &apt : files.apt_files)
        *files_read += "\n  airports: " + apt;
    return true;
}

/* The decimal year of the courses: the date asked for or today, brought
 * into the magnetic model's span with a warning. */
static double magnetic_year(const ConversionRequest &request, Report &report)
{
    int y = request.year, m = request.month, d = request.day;
    if (y == 0) {
        time_t now = time(nullptr);
        struct tm *utc = gmtime(&now);
        y = utc->tm_year + 1900;
        m = utc->tm_mon + 1;
        d = utc->tm_mday;
    }
    double year = decimal_year(y, m, d);
    double used = year < magnetic_model_first_year  ? magnetic_model_first_year
                  : year > magnetic_model_last_year ? magnetic_model_last_year
                                                    : year;
    if (used != year) {
        char text[200];
        snprintf(text, sizeof text,
                 "warning: %04d-%02d-%02d is outside the magnetic model's span (%.0f to %.0f): "
                 "courses are for %.1f",
                 y, m, d, magnetic_model_first_year, magnetic_model_last_year, used);
        report.say(text);
    }
    return used;
}

/* The summary as the report's lines, without its last newline; files
 * names the files a simulator folder gave. */
static void say_summary(const Converter &converter, const std::string &files, Report &report,
                        ConversionResult *result)
{
    std::string summary = (files.empty() ? files : files + "\n") + converter.summary();
    result->summary = summary;
    if (!summary.empty() && summary.back() == '\n')
        summary.pop_back();
    if (!summary.empty())
        report.say(summary);
}

static ConversionStatus fail(Converter &converter, Report &report, const std::string &message,
                             ConversionResult *result)
{
    converter.discard();
    result->stopped = report.stopped();
    report.say((result->stopped ? std::string("stopped") : message) + "\nnothing written");
    return result->status = conversion_failed;
}

/* When airports pass but no navaid does, the pair is still written, the
 * navaid file empty: a box around one airport keeps the runway file asked
 * for.  True (with a note) in that case.  The other way round is no
 * result: an airport source from which no airport passes (a filter that
 * matches none, a typing error in --icao) writes nothing, whatever the
 * navaids, so a pilot's runway file is never replaced by an empty one. */
static bool navaids_alone_empty(const Converter &converter, bool airports, bool navaids,
                                Report &report)
{
    if (!airports || !navaids)
        return false;
    std::string runways_empty = converter.empty_result(true, false);
    std::string navaids_empty = converter.empty_result(false, true);
    if (!runways_empty.empty() || navaids_empty.empty())
        return false;
    report.say("note: " + navaids_empty + ": " + NAVAID_FILE_NAME + " is written empty");
    return true;
}

ConversionStatus run_conversion(const ConversionRequest &asked, Report &report,
                                ConversionResult *result)
{
    ConversionResult own;
    if (!result)
        result = &own;
    *result = ConversionResult();
    std::string problem = request_problem(asked);
    if (!problem.empty()) {
        report.say(problem);
        return result->status = conversion_failed;
    }
    ConversionRequest request;
    std::string files_read;
    if (!resolve_folder(asked, report, &request, &files_read))
        return result->status = conversion_failed;

    Converter converter(request.filters, report);
    converter.set_magnetic_year(magnetic_year(request, report));

    const bool scenery = !request.scenery_dir.empty();
    const bool airports =
        !request.apt_files.empty() || !request.ourairports_dir.empty() || scenery;
    const bool csv_navaids = !request.ourairports_dir.empty() && request.nav_file.empty() &&
                             !find_csv(request.ourairports_dir, "navaids").empty();
    const bool navaids = !request.nav_file.empty() || csv_navaids || scenery;
    std::string error;
    if (!converter.open_outputs(request.output_dir, request.crlf, airports, navaids, &error))
        return fail(converter, report, error, result);
    if (!request.filters.countries.empty() && !request.nav_file.empty())
        report.say("note: nav.dat gives no country: its navaids are filtered by --box only");

    ReadOutcome outcome;
    if (scenery) {
        converter.set_source_course_name("from the simulator's variation");
        if (!read_scenery(request.scenery_dir, request.scenery_cfg, converter, report, &outcome,
                          &files_read)) {
            if (!files_read.empty() && !report.stopped())
                report.say(files_read);
            return fail(converter, report, outcome.fatal, result);
        }
    }
    if (!request.nav_file.empty() && !read_nav_dat(request.nav_file, converter, report, &outcome))
        return fail(converter, report, outcome.fatal, result);
    for (const std::string &apt : request.apt_files)
        if (!read_apt_dat(apt, converter, report, &outcome))
            return fail(converter, report, outcome.fatal, result);
    if (!request.ourairports_dir.empty() &&
        !read_ourairports(request.ourairports_dir, csv_navaids, converter, report, &outcome))
        return fail(converter, report, outcome.fatal, result);
    if (report.poll_stop())
        return fail(converter, report, "", result);
    converter.finish(airports);

    std::string empty = converter.empty_result(airports, navaids);
    if (!empty.empty() && !navaids_alone_empty(converter, airports, navaids, report)) {
        say_summary(converter, files_read, report, result);
        return fail(converter, report,
                    "nothing to write: " + empty + "; existing files are left as they are",
                    result);
    }

    /* The last moment a stop is honoured: after it the pair goes in. */
    if (report.poll_stop())
        return fail(converter, report, "", result);
    if (!converter.commit(&error)) {
        report.say(error); /* says what was written */
        return result->status = conversion_failed;
    }
    say_summary(converter, files_read, report, result);
    if (report.errors() > 0)
        report.say("bad input rows skipped: " + std::to_string(report.errors()) +
                   " (reported above)");
    std::string where = request.output_dir.empty() ? std::string() : request.output_dir + "/";
    result->airports_written = converter.stats().airports_written;
    result->navaids_written = converter.stats().navaids_written;
    if (airports)
        report.say("wrote " + where + RUNWAY_FILE_NAME + " (" +
                   std::to_string(result->airports_written) + " lines)");
    if (navaids)
        report.say("wrote " + where + NAVAID_FILE_NAME + " (" +
                   std::to_string(result->navaids_written) + " lines)");
    return result->status = report.errors() > 0 ? conversion_bad_rows : conversion_clean;
}
