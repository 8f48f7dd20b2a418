/* The nav.dat reader: a row-code switch over VORs, NDBs and localizers. */
#include <math.h>

#include "common/tokens.h"
#include "xplane_file.h"

/* ======================================================================
 * nav.dat
 * ====================================================================== */

static const long nav_versions[] = {810, 1100, 1150, 1200};
/* From this version on a localizer's bearing field packs its published
 * magnetic course with the true bearing (courses.h). */
static const long first_packed_version = 1150;

/* Row codes that this reader handles. */
enum NavRowCode : long {
    nav_ndb = 2,                        /* NDB */
    nav_vor = 3,                        /* VOR, VOR-DME, VORTAC; a TACAN alone too */
    nav_ils_localizer = 4,              /* localizer of an ILS (with glide slope) */
    nav_localizer = 5,                  /* localizer alone: LOC, LDA, SDF */
};

/* Navaids that go in neither file, counted in the summary. */
enum NavOtherCode : long {
    nav_dme_paired = 12,                /* DME of a VOR or ILS */
    nav_dme = 13,                       /* DME alone, or a TACAN's DME */
};

/* Row codes of the format that carry nothing the data files need. */
static const long nav_unused_rows[] = {
    6,                                  /* glide slope (its bearing field packs the angle) */
    7, 8, 9,                            /* outer, middle, inner marker */
    nav_dme_paired,
    nav_dme,
    14,                                 /* final approach path point (1100 on) */
    15,                                 /* GLS threshold point (1100 on) */
    16,                                 /* landing threshold point (1100 on) */
};

/* The columns every navaid row shares.
 *   810:   3  47.43538889 -122.30961111    354 11680 130   19.000 SEA  SEATTLE VORTAC
 *   1100:  3  47.43538889 -122.30961111    354 11680 130   19.000 SEA  ENRT K1 SEATTLE VORTAC
 *   810:   4  47.42939200 -122.30805600    338 11030  18  163.000 ISNQ KSEA 16L ILS-cat-I
 *   1100:  4  47.42939200 -122.30805600    338 11030  18  163.000 ISNQ KSEA K1 16L ILS-cat-I */
enum NavColumn {
    nav_row_code,
    nav_latitude,
    nav_longitude,
    nav_elevation,                      /* feet */
    nav_frequency,                      /* VOR, ILS: MHz x 100; NDB: kHz */
    nav_range,                          /* nautical miles */
    nav_bearing,                        /* VOR: slaved variation; localizer: true bearing */
    nav_ident,
    nav_after_ident                     /* where the layouts of the versions part */
};

/* Where the later columns stand in each version. */
struct NavLayout {
    size_t navaid_name;                 /* VOR, NDB: name to the end of the line */
    size_t navaid_min_fields;
    size_t localizer_airport;           /* the airport's identifier */
    size_t localizer_runway;            /* the runway designator */
    size_t localizer_min_fields;
};
/* 810: ident, then the name; a localizer: ident, airport, runway, name. */
static const NavLayout layout_810 = {nav_after_ident, nav_after_ident + 1, nav_after_ident,
                                     nav_after_ident + 1, nav_after_ident + 2};
/* 1100 on: ident, airport (ENRT for en-route aids), ICAO region, then the
 * name; a localizer has its runway between the region and the name. */
static const NavLayout layout_1100 = {nav_after_ident + 2, nav_after_ident + 3, nav_after_ident,
                                      nav_after_ident + 2, nav_after_ident + 3};

class NavReader {
public:
    NavReader(Converter &converter, XPlaneFile &file)
        : converter_(converter), file_(file),
          layout_(file.version() == 810 ? layout_810 : layout_1100)
    {
    }

    bool on_navaid(long code, const Fields &f);
    bool on_localizer(long code, const Fields &f);

private:
    bool position(const Fields &f, double *lat, double *lon);
    Converter &converter_;
    XPlaneFile &file_;
    const NavLayout &layout_;
};

bool NavReader::position(const Fields &f, double *lat, double *lon)
{
    if (parse_position(f[nav_latitude], f[nav_longitude], lat, lon))
        return true;
    file_.bad_row("bad position");
    return false;
}

/* X-Plane lists military TACAN stations as VOR rows, with the paired VHF
 * channel as frequency (some above the VOR band) and a name ending in
 * TACAN.  A civil receiver takes no bearing from them: they go in neither
 * file, whatever their frequency.  VORTACs are VORs and stay. */
static bool is_tacan_only(std::string_view name)
{
    static const std::string_view word = "TACAN";
    if (name.size() < word.size() || upper_ascii(name.substr(name.size() - word.size())) != word)
        return false;
    return name.size() == word.size() || name[name.size() - word.size() - 1] == ' ';
}

bool NavReader::on_navaid(long code, const Fields &f)
{
    if (f.size() < layout_.navaid_min_fields) {
        file_.bad_row("navaid has " + std::to_string(f.size()) + " fields, at least " +
                      std::to_string(layout_.navaid_min_fields) + " expected");
        return false;
    }
    if (code == nav_vor && is_tacan_only(f.rest(layout_.navaid_name))) {
        converter_.skip_navaid_type();
        return true;
    }
    Navaid n;
    n.source = file_.here();
    n.vor = code == nav_vor;
    n.ident = std::string(f[nav_ident]);
    n.name = std::string(strip_type_word(f.rest(layout_.navaid_name)));
    if (!position(f, &n.latitude, &n.longitude))
        return false;
    long frequency;
    bool ok = parse_long(f[nav_frequency], &frequency);
    if (ok && n.vor)
        ok = !frequency_text(frequency).empty();
    else if (ok)
        ok = frequency > 0 && frequency <= 99999;
    if (!ok) {
        file_.bad_row(std::string(n.vor ? "VOR" : "NDB") + " " + n.ident + ": bad frequency '" +
                      std::string(f[nav_frequency]) + "'");
        return false;
    }
    n.frequency = frequency;
    converter_.add_navaid(n);
    return true;
}

bool NavReader::on_localizer(long code, const Fields &f)
{
    if (f.size() < layout_.localizer_min_fields) {
        file_.bad_row("localizer has " + std::to_string(f.size()) + " fields, at least " +
                      std::to_string(layout_.localizer_min_fields) + " expected");
        return false;
    }
    Localizer l;
    l.source = file_.here();
    l.with_glide_slope = code == nav_ils_localizer;
    l.ident = std::string(f[nav_ident]);
    l.airport = std::string(f[layout_.localizer_airport]);
    l.runway = std::string(f[layout_.localizer_runway]);
    l.packed_bearing = file_.version() >= first_packed_version;
    if (!position(f, &l.latitude, &l.longitude))
        return false;
    if (!parse_long(f[nav_frequency], &l.frequency) || frequency_text(l.frequency).empty()) {
        file_.bad_row("localizer " + l.ident + ": bad frequency '" + std::string(f[nav_frequency]) +
                      "'");
        return false;
    }
    if (!parse_double(f[nav_bearing], &l.bearing) || l.bearing < 0) {
        file_.bad_row("localizer " + l.ident + ": bad bearing '" + std::string(f[nav_bearing]) +
                      "'");
        return false;
    }
    converter_.add_localizer(l);
    return true;
}

typedef bool (NavReader::*NavHandler)(long code, const Fields &f);
struct NavRow {
    long code;
    NavHandler handler;
};
static const NavRow nav_rows[] = {
    {nav_ndb, &NavReader::on_navaid},
    {nav_vor, &NavReader::on_navaid},
    {nav_ils_localizer, &NavReader::on_localizer},
    {nav_localizer, &NavReader::on_localizer},
};

bool read_nav_dat(const std::string &path, Converter &converter, Report &report,
                  ReadOutcome *outcome)
{
    XPlaneFile file(report, outcome);
    if (!file.open(path, "nav.dat", nav_versions, sizeof nav_versions / sizeof *nav_versions))
        return false;
    NavReader reader(converter, file);
    long code;
    Fields f;
    bool first = true;
    while (file.next_row(&code, &f)) {
        const NavRow *row = nullptr;
        for (const NavRow &r : nav_rows)
            if (r.code == code)
                row = &r;
        bool known = row || is_known(code, nav_unused_rows,
                                     sizeof nav_unused_rows / sizeof *nav_unused_rows);
        if (first && !known) {
            outcome->fatal = path + ":" + std::to_string(outcome->lines) +
                             ": not a nav.dat file: the first row is no navaid";
            return false;
        }
        first = false;
        if (!row) {
            file.pass_over(code, known);
            if (code == nav_dme_paired || code == nav_dme)
                converter.skip_navaid_type();
            continue;
        }
        f.assign(f.line());
        (reader.*(row->handler))(code, f);
    }
    if (!outcome->fatal.empty())
        return false;
    file.finish();
    return true;
}
