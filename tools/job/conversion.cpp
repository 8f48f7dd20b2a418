#include "conversion.h"

#include <stdio.h>
#include <time.h>

#include "convert/magnetic.h"
#include "selection/facility_file.h"
#include "sources/ourairports.h"
#include "sources/xplane.h"

std::string request_problem(const ConversionRequest &request)
{
    if (!request.apt_files.empty() && !request.ourairports_dir.empty())
        return "choose one airport source: --apt or --ourairports";
    if (request.apt_files.empty() && request.ourairports_dir.empty() && request.nav_file.empty())
        return "no input: give --apt, --ourairports or --nav";
    return std::string();
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

/* The summary as the report's lines, without its last newline. */
static void say_summary(const Converter &converter, Report &report, ConversionResult *result)
{
    std::string summary = converter.summary();
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

ConversionStatus run_conversion(const ConversionRequest &request, Report &report,
                                ConversionResult *result)
{
    ConversionResult own;
    if (!result)
        result = &own;
    *result = ConversionResult();
    std::string problem = request_problem(request);
    if (!problem.empty()) {
        report.say(problem);
        return result->status = conversion_failed;
    }

    Converter converter(request.filters, report);
    converter.set_magnetic_year(magnetic_year(request, report));

    const bool airports = !request.apt_files.empty() || !request.ourairports_dir.empty();
    const bool csv_navaids = !request.ourairports_dir.empty() && request.nav_file.empty() &&
                             !find_csv(request.ourairports_dir, "navaids").empty();
    const bool navaids = !request.nav_file.empty() || csv_navaids;
    std::string error;
    if (!converter.open_outputs(request.output_dir, request.crlf, airports, navaids, &error))
        return fail(converter, report, error, result);
    if (!request.filters.countries.empty() && !request.nav_file.empty())
        report.say("note: nav.dat gives no country: its navaids are filtered by --box only");

    ReadOutcome outcome;
    if (!request.nav_file.empty() && !read_nav_dat(request.nav_file, converter, report, &outcome))
        return fail(converter, report, outcome.fatal, result);
    for (const std::string &apt : request.apt_files)
        if (!read_apt_dat(apt, converter, report, &outcome))
            return fail(converter, report, outcome.fatal, result);
    if (!request.ourairports_dir.empty() &&
        !read_ourairports(request.ourairports_dir, csv_navaids, converter, report, &outcome))
        return fail(converter, report, outcome.fatal, result);
    if (report.stopped())
        return fail(converter, report, "", result);
    converter.finish(airports);

    std::string empty = converter.empty_result(airports, navaids);
    if (!empty.empty()) {
        say_summary(converter, report, result);
        return fail(converter, report,
                    "nothing to write: " + empty + "; existing files are left as they are",
                    result);
    }

    if (!converter.commit(&error)) {
        report.say(error); /* says what was written */
        return result->status = conversion_failed;
    }
    say_summary(converter, report, result);
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
