/*
 * pelmora-convert: world navigation data in, "Prwydata.txt" and
 * "Pnavdata.txt" out.  Exit status: 0 written and clean; 1 written, but some
 * input rows were bad and skipped (each reported as file:line: reason);
 * 2 nothing written (usage, I/O, wrong or damaged input).
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

#include "common/fields.h"
#include "common/report.h"
#include "common/tokens.h"
#include "conversion.h"

static const int exit_clean = conversion_clean;
static const int exit_failed = conversion_failed;

static const char usage_text[] =
    "usage: pelmora-convert [options] --scenery SIMULATOR-FOLDER [--scenery-cfg FILE]\n"
    "       pelmora-convert [options] --xplane X-PLANE-FOLDER\n"
    "       pelmora-convert [options] --flightgear FGDATA-FOLDER\n"
    "       pelmora-convert [options] --apt APT.DAT [--apt ...] [--nav NAV.DAT]\n"
    "       pelmora-convert [options] --ourairports DIR [--nav NAV.DAT]\n"
    "       pelmora-convert [options] --nav NAV.DAT\n"
    "\n"
    "Makes the data files Prwydata.txt (airports and runways) and Pnavdata.txt\n"
    "(VORs and NDBs) from the simulator's own scenery (its scenery.cfg and the\n"
    "BGL files of its areas), from X-Plane-style apt.dat (850 to 1200) and nav.dat\n"
    "(810 to 1200) files, or from the OurAirports files airports.csv, runways.csv\n"
    "and navaids.csv.  Any text input may be gzip-compressed (.gz).\n"
    "\n"
    "Sources:\n"
    "  --scenery DIR        the scenery the simulator in DIR flies with, as its\n"
    "                       radios receive it: the areas of its scenery.cfg (in\n"
    "                       DIR, any letter case, as the 2004 release keeps it;\n"
    "                       on Windows, when DIR has none, where FSX keeps it in\n"
    "                       the program-data folder) and their scenery\\*.bgl\n"
    "                       files; given alone, without other sources\n"
    "  --scenery-cfg FILE   the scenery.cfg to read, when it is not in DIR\n"
    "                       (its Local= folders are still relative to DIR)\n"
    "  --xplane DIR         what the X-Plane 11 or 12 in DIR flies with: navaids\n"
    "                       from Custom Data/earth_nav.dat (an installed cycle),\n"
    "                       else Resources/default data/earth_nav.dat; airports\n"
    "                       from the Earth nav data/apt.dat of every enabled\n"
    "                       scenery pack and of Global Airports, in the order of\n"
    "                       Custom Scenery/scenery_packs.ini (disabled packs\n"
    "                       skipped)\n"
    "  --flightgear DIR     an FGData folder: its Airports/apt.dat.gz and\n"
    "                       Navaids/nav.dat.gz\n"
    "  --apt FILE           airports and runways from an apt.dat; give it several\n"
    "                       times to read several, in that order\n"
    "  --ourairports DIR    airports and runways (and, without --nav, navaids)\n"
    "                       from the OurAirports files in DIR\n"
    "  --nav FILE           VORs, NDBs and the ILS/LOC localizers from a nav.dat\n"
    "  Where several files define one airport code, the first one read wins (as\n"
    "  in X-Plane); the repeats are counted.\n"
    "  The scenery's layers, as the simulator resolves them: active areas in\n"
    "  Layer order, areas of one layer by area number, files of an area by name;\n"
    "  what comes later lies above.  An airport's highest definition wins whole\n"
    "  (its runways and the ILS they name); an upper record without runways keeps\n"
    "  the runways below, less those its DeleteAirport removes.  A VOR or NDB is\n"
    "  the same station as one below with its identifier and region within 0.1\n"
    "  degree (about 11 km); an ILS by identifier and airport.  Inactive areas\n"
    "  and missing folders are skipped and named; BGL files of the older format\n"
    "  are counted, not read; damaged ones are reported and skipped.\n"
    "\n"
    "Output:\n"
    "  -o, --output DIR     write the files into DIR (default: the current one)\n"
    "  --lf                 end lines with LF (default: CR LF)\n"
    "  --date YYYY-MM-DD    the date of the computed magnetic courses (default:\n"
    "                       today); outside 2025-2030 the nearest date of the span\n"
    "                       is used\n"
    "\n"
    "Filters:\n"
    "  --icao PREFIX,...    airports whose code begins with one of the prefixes\n"
    "  --country C,...      airports and navaids of these countries, by ISO code\n"
    "                       (US, DE) or name (\"United States\"): OurAirports'\n"
    "                       iso_country, apt.dat 1100+ its 1302 country (a code or\n"
    "                       a name); nav.dat gives no country: its navaids are not\n"
    "                       filtered\n"
    "  --box S,W,N,E        only what lies in this latitude/longitude box, degrees\n"
    "  --hard-only          airports with at least one asphalt or concrete runway\n"
    "  --icao-only          airports with a four-letter ICAO code only (a smaller\n"
    "                       file, as earlier versions wrote)\n"
    "  --heliports          heliports too (left out by default)\n"
    "\n"
    "  -q, --quiet          no notes, no progress: only errors and the summary\n"
    "  -h, --help           this text\n"
    "\n"
    "What is written:\n"
    "  Airports: every open airport with runways.  Its code: the ICAO code the\n"
    "    source gives (apt.dat 1302 icao_code; OurAirports icao_code, else the\n"
    "    FAA local_code of a US field filed as K plus it: S50, not KS50), else\n"
    "    the airport's own identifier (S50, 0S9, US-0001...), the\n"
    "    first that is one upper-case token of at most 15 characters.  Closed\n"
    "    airports, airports without runways, heliports (unless --heliports) and\n"
    "    repeats of a code are skipped (the first is kept; repeats are counted).\n"
    "  Runways: one descriptor per runway end, designator_ident_length_freq_course\n"
    "    (e.g. 16L_ISNQ_11796_110.30_164; without a landing system\n"
    "    34R_-_11796_0_345).  Length in feet.  At most 20 ends: with more, those\n"
    "    with a landing system come first.\n"
    "  Course: the course a pilot sets, whole degrees 001 to 360 (360 for north).\n"
    "    A runway designated on true north (designator ending in T: Thule 08T)\n"
    "    gets its TRUE course: the localizer's true bearing, else the runway's\n"
    "    own heading.  Every other runway gets its MAGNETIC course: the one its\n"
    "    localizer publishes (nav.dat 1150 and later), else computed: the\n"
    "    localizer's true bearing, else the runway end's true heading (from its\n"
    "    two ends' coordinates, or the source's), less the magnetic declination\n"
    "    of the World Magnetic Model 2025 at that place on --date.  An end with\n"
    "    no heading gets its designator's number times ten.  An end whose course\n"
    "    lies more than 90 degrees from its designator's is taken as swapped in\n"
    "    the source and turned round.  The summary counts the courses of each\n"
    "    kind and the ends turned round.\n"
    "  Scenery courses: in the simulator's own magnetic world, no magnetic model:\n"
    "    an ILS end's from its localizer's true heading and that ILS record's\n"
    "    variation, any other end's from the runway's true heading and the\n"
    "    airport's variation.  Its ILS: the one the runway end names (by\n"
    "    identifier, of this airport), else one whose localizer names that end.\n"
    "  Landing systems: nav.dat localizers (ILS, LOC, LDA, SDF), each joined to\n"
    "    the runway end its row names where it fits that end (bearing within 35\n"
    "    degrees, antenna within 1.5 km of the centre line, along the runway or\n"
    "    up to 4 km beyond either end), else to the end it fits closely by place\n"
    "    (a renumbered runway; reported and counted).  Where several serve one\n"
    "    runway end: one joined by its name, then an ILS before a localizer\n"
    "    alone, then the one nearest the runway's heading, then the first.\n"
    "    Those that join no runway are reported.\n"
    "  Navaids: VORs (VOR, VOR-DME, VORTAC) and NDBs.  DMEs and TACAN stations\n"
    "    (no bearing for a civil receiver) are counted as other types, not\n"
    "    written.  A navaid line that comes again is written once.\n"
    "  When airports pass but no VOR or NDB does, both files are written, the\n"
    "    navaid file empty, with a note.  When no airport passes (a filter that\n"
    "    matches none), nothing is written, whatever the navaids.\n"
    "\n"
    "Exit status: 0 written; 1 written, but bad input rows were skipped (see the\n"
    "messages); 2 nothing written (also when no airport passes or both files\n"
    "would be empty: the files already there are left as they are).\n";

struct Options {
    ConversionRequest request;
    bool quiet = false;
};

static void usage_error(const std::string &message)
{
    fprintf(stderr, "pelmora-convert: %s\n(pelmora-convert --help tells how to use it)\n",
            message.c_str());
}

static std::vector<std::string> split_list(const std::string &text)
{
    std::vector<std::string> items;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            comma = text.size();
        std::string item = upper_ascii(text.substr(start, comma - start));
        if (!item.empty())
            items.push_back(item);
        start = comma + 1;
    }
    return items;
}

static bool parse_box(const std::string &text, Filters *f)
{
    std::vector<std::string> parts = split_list(text);
    double v[4];
    if (parts.size() != 4)
        return false;
    for (int i = 0; i < 4; i++)
        if (!parse_double(parts[i], &v[i]))
            return false;
    f->south = v[0];
    f->west = v[1];
    f->north = v[2];
    f->east = v[3];
    f->has_box = true;
    return f->south <= f->north && f->south >= -90 && f->north <= 90 && f->west >= -180 &&
           f->east <= 180;
}

/* YYYY-MM-DD, a real calendar date. */
static bool parse_date(const std::string &text, Options *o)
{
    static const int days_in_month[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int y, m, d;
    char end;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' ||
        sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &end) != 3)
        return false;
    if (y < 1900 || y > 9999 || m < 1 || m > 12 || d < 1 || d > days_in_month[m - 1])
        return false;
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (m == 2 && d == 29 && !leap)
        return false;
    o->request.year = y;
    o->request.month = m;
    o->request.day = d;
    return true;
}

/* A folder typed in the Windows way with its closing backslash, "C:\X-Plane
 * 12\", reaches the program as C:\X-Plane 12" (the C runtime reads \" as
 * a quote): the stray quote, which no Windows name can hold, goes. */
static std::string folder_argument(std::string folder)
{
#ifdef _WIN32
    if (folder.size() > 1 && folder.back() == '"')
        folder.pop_back();
#endif
    return folder;
}

/* Fills options from argv; returns -1 to go on, else the exit status. */
static int parse_options(int argc, char **argv, Options *o)
{
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        auto value = [&](std::string *out) {
            if (i + 1 >= argc) {
                usage_error(arg + " needs a value");
                return false;
            }
            *out = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "-h" || arg == "--help") {
            fputs(usage_text, stdout);
            return exit_clean;
        } else if (arg == "--apt") {
            if (!value(&text))
                return exit_failed;
            o->request.apt_files.push_back(text);
        } else if (arg == "--xplane") {
            if (!value(&o->request.xplane_dir))
                return exit_failed;
            o->request.xplane_dir = folder_argument(o->request.xplane_dir);
        } else if (arg == "--scenery") {
            if (!value(&o->request.scenery_dir))
                return exit_failed;
            o->request.scenery_dir = folder_argument(o->request.scenery_dir);
        } else if (arg == "--scenery-cfg") {
            if (!value(&o->request.scenery_cfg))
                return exit_failed;
        } else if (arg == "--flightgear") {
            if (!value(&o->request.flightgear_dir))
                return exit_failed;
            o->request.flightgear_dir = folder_argument(o->request.flightgear_dir);
        } else if (arg == "--nav") {
            if (!value(&o->request.nav_file))
                return exit_failed;
        } else if (arg == "--ourairports") {
            if (!value(&o->request.ourairports_dir))
                return exit_failed;
        } else if (arg == "-o" || arg == "--output") {
            if (!value(&o->request.output_dir))
                return exit_failed;
            o->request.output_dir = folder_argument(o->request.output_dir);
        } else if (arg == "--date") {
            if (!value(&text))
                return exit_failed;
            if (!parse_date(text, o)) {
                usage_error("--date wants a calendar date YYYY-MM-DD, e.g. 2026-03-01");
                return exit_failed;
            }
        } else if (arg == "--lf") {
            o->request.crlf = false;
        } else if (arg == "-q" || arg == "--quiet") {
            o->quiet = true;
        } else if (arg == "--hard-only") {
            o->request.filters.hard_only = true;
        } else if (arg == "--icao-only") {
            o->request.filters.icao_only = true;
        } else if (arg == "--heliports") {
            o->request.filters.heliports = true;
        } else if (arg == "--icao") {
            if (!value(&text))
                return exit_failed;
            o->request.filters.icao_prefixes = split_list(text);
        } else if (arg == "--country") {
            if (!value(&text))
                return exit_failed;
            o->request.filters.countries = split_list(text);
        } else if (arg == "--box") {
            if (!value(&text))
                return exit_failed;
            if (!parse_box(text, &o->request.filters)) {
                usage_error("--box wants SOUTH,WEST,NORTH,EAST in degrees, e.g. 45,5,55,16");
                return exit_failed;
            }
        } else {
            usage_error("unknown argument '" + arg + "'");
            return exit_failed;
        }
    }
    std::string problem = request_problem(o->request);
    if (!problem.empty()) {
        usage_error(problem);
        return exit_failed;
    }
    return -1;
}

int main(int argc, char **argv)
{
    Options o;
    int status = parse_options(argc, argv, &o);
    if (status >= 0)
        return status;

    Report report;
    report.set_quiet(o.quiet);
    report.set_progress(isatty(fileno(stderr)) != 0);
    return run_conversion(o.request, report);
}
