/*
 * Makes the fixture scenery trees of the converter's golden tests:
 *
 *   make_scenery_fixtures OUT [OUT-AS-WRITTEN]
 *
 * OUT gets:
 *   fs9/        a 2004-release folder: SCENERY.CFG in it (upper case), a
 *               base area, an add-on area above it, an inactive area, an
 *               absolute Local=, a missing folder, one folder named twice,
 *               garbage lines, and an area of damaged files;
 *   fsx/FSX/    a later-release folder without scenery.cfg, whose library
 *   fsx/ProgramData/Microsoft/FSX/Scenery.CFG   lies where that release keeps it;
 *   bad_only/   a library of which no file can be read.
 * OUT-AS-WRITTEN is how scenery.cfg writes OUT in an absolute Local= (a
 * Windows path, Z:\..., for a run under Wine); by default OUT itself.
 *
 * Every value is invented, chosen so that a course can be worked by hand
 * from the records (see golden.sh).
 */
#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "bgl_writer.h"

static std::string out_dir;
static std::string out_as_written;
static int failures = 0;

static void make_folders(const std::string &relative)
{
    std::string path = out_dir;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t slash = relative.find('/', start);
        if (slash == std::string::npos)
            slash = relative.size();
        path += "/" + relative.substr(start, slash - start);
        if (mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) {
            fprintf(stderr, "make_scenery_fixtures: %s: %s\n", path.c_str(), strerror(errno));
            failures++;
        }
        start = slash + 1;
    }
}

static void put(const std::string &relative, const std::string &bytes)
{
    size_t slash = relative.rfind('/');
    if (slash != std::string::npos)
        make_folders(relative.substr(0, slash));
    std::string path = out_dir + "/" + relative;
    FILE *f = fopen(path.c_str(), "wb");
    if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || fclose(f) != 0) {
        fprintf(stderr, "make_scenery_fixtures: cannot write %s\n", path.c_str());
        failures++;
    }
}

/* ---- Records ---- */

static BglRunway runway(int number, int designator, int secondary, int secondary_designator,
                        double heading, double length_m, const char *primary_ils = "",
                        const char *secondary_ils = "", int surface = 4)
{
    BglRunway r;
    r.primary_number = number;
    r.primary_designator = designator;
    r.secondary_number = secondary;
    r.secondary_designator = secondary_designator;
    r.heading = heading;
    r.length_m = length_m;
    r.width_m = 45;
    r.primary_ils = primary_ils;
    r.secondary_ils = secondary_ils;
    r.surface = surface;
    return r;
}

static BglAirport airport(const char *ident, const char *name, double lat, double lon,
                          double variation, std::vector<BglRunway> runways, bool fsx = false)
{
    BglAirport a;
    a.ident = ident;
    a.name = name;
    a.latitude = lat;
    a.longitude = lon;
    a.elevation_m = 100;
    a.magnetic_variation = variation;
    a.fsx_form = fsx;
    for (BglRunway &r : runways) {
        r.latitude = lat;
        r.longitude = lon;
    }
    a.runways = runways;
    return a;
}

static BglVorIls ils(const char *ident, const char *airport, double lat, double lon,
                     unsigned long hz, double heading, double variation, int number,
                     int designator, const char *name)
{
    BglVorIls v;
    v.type = BglVorIls::ils;
    v.flags = 1 | 8 | 16;
    v.ident = ident;
    v.airport = airport;
    v.region = "K1";
    v.latitude = lat;
    v.longitude = lon;
    v.frequency_hz = hz;
    v.range_m = 50000;
    v.magnetic_variation = variation;
    v.has_localizer = true;
    v.localizer_runway_number = number;
    v.localizer_runway_designator = designator;
    v.localizer_heading = heading;
    v.localizer_width = 5;
    v.has_glide_slope = true;
    v.has_dme = true;
    v.name = name;
    return v;
}

static BglVorIls vor(int type, unsigned flags, const char *ident, const char *name, double lat,
                     double lon, unsigned long hz, double variation, const char *region = "K1")
{
    BglVorIls v;
    v.type = type;
    v.flags = flags;
    v.ident = ident;
    v.name = name;
    v.region = region;
    v.latitude = lat;
    v.longitude = lon;
    v.frequency_hz = hz;
    v.range_m = 100000;
    v.magnetic_variation = variation;
    v.has_dme = (flags & 16) != 0;
    return v;
}

static BglNdb ndb(const char *ident, const char *name, double lat, double lon,
                  unsigned long frequency, const char *airport = "")
{
    BglNdb n;
    n.type = 1;
    n.ident = ident;
    n.name = name;
    n.region = "K1";
    n.airport = airport;
    n.latitude = lat;
    n.longitude = lon;
    n.frequency = frequency;
    n.range_m = 40000;
    return n;
}

/* ---- The 2004 release's folder ---- */

static void fs9()
{
    /* The base area: airports (and markers) in one file, navaids in
     * another, as the release ships them. */
    BglWriter ap;
    /* KBAS: 15 degrees west, stored 15.  17 has ILS IBAS, 35 none. */
    ap.add_airport(airport("KBAS", "Base Field", 40.0, -100.0, 15.0,
                           {runway(17, 0, 35, 0, 157.0, 2500, "IBAS")}));
    /* NZCX: 23.5 east, stored 336.5.  02 has ILS ICX (24 east in its own
     * record), 20 none. */
    ap.add_airport(airport("NZCX", "Cross Harbour", -43.5, 172.5, 336.5,
                           {runway(2, 0, 20, 0, 43.2, 3000, "ICX")}));
    /* KTWO: both ends on ILS, one frequency. */
    ap.add_airport(airport("KTWO", "Twin Ends", 41.0, -90.0, 356.5,
                           {runway(9, 0, 27, 0, 92.0, 2800, "ITWA", "ITWB")}));
    /* KADD: the add-on redefines it. */
    ap.add_airport(airport("KADD", "Add Field Old", 42.0, -95.0, 10.0,
                           {runway(18, 0, 36, 0, 175.0, 2000, "IADD")}));
    /* A seaplane lane on compass points and a parallel pair. */
    ap.add_airport(airport("KLAK", "Lake Lanes", 47.6, -122.3, 344.0,
                           {runway(16, 1, 34, 2, 180.0, 3600, "", "", 4),
                            runway(16, 2, 34, 1, 180.0, 2900, "", "", 4),
                            runway(37, 0, 41, 0, 16.0, 1500, "", "", 2)}));
    ap.add_markers(2, 40.0, -100.0);
    put("fs9/Scenery/Base/scenery/APBASE.BGL", ap.bytes());

    BglWriter nv;
    nv.add_vor_ils(ils("IBAS", "KBAS", 40.02, -100.01, 110300000, 157.3, 15.0, 17, 0, "BASE 17"));
    nv.add_vor_ils(ils("ICX", "NZCX", -43.49, 172.52, 109900000, 43.4, 336.0, 2, 0, "CROSS 02"));
    nv.add_vor_ils(ils("ITWA", "KTWO", 41.0, -89.97, 109500000, 92.1, 356.5, 9, 0, "TWIN 09"));
    nv.add_vor_ils(ils("ITWB", "KTWO", 41.0, -90.03, 109500000, 272.1, 356.5, 27, 0, "TWIN 27"));
    nv.add_vor_ils(ils("IADD", "KADD", 41.99, -95.0, 108900000, 175.2, 10.0, 18, 0, "ADD 18"));
    /* An ILS whose airport is nowhere. */
    nv.add_vor_ils(ils("INOW", "KNOW", 30.0, -80.0, 111100000, 90.0, 0.0, 9, 0, "NOWHERE"));
    nv.add_vor_ils(vor(BglVorIls::high, 1 | 16, "BAS", "Base Vortac", 40.1, -100.1, 113900000, 15.0));
    nv.add_vor_ils(vor(BglVorIls::low, 1, "SUB", "Suburb", 42.1, -95.1, 116000000, 10.0));
    /* A DME alone and a VOT: no navaid lines. */
    nv.add_vor_ils(vor(BglVorIls::terminal, 16, "DMO", "Dme Only", 40.2, -100.2, 112500000, 15.0));
    nv.add_vor_ils(vor(BglVorIls::vot, 1, "VTT", "Test Vot", 40.3, -100.3, 108000000, 15.0));
    nv.add_ndb(ndb("BA", "Base Beacon", 40.05, -100.05, 362000, "KBAS"));
    nv.add_ndb(ndb("XK", "Kilo Beacon", 41.05, -90.05, 415));
    put("fs9/Scenery/Base/scenery/nvbase.bgl", nv.bytes());

    /* The add-on, above: KADD with a new ILS frequency and a new runway;
     * SUB moved a little, on a new frequency. */
    BglWriter addon;
    addon.add_airport(airport("KADD", "Addon Field", 42.0, -95.0, 10.0,
                              {runway(18, 0, 36, 0, 175.0, 2100, "IADD"),
                               runway(9, 0, 27, 0, 85.0, 1200)}, true));
    addon.add_vor_ils(ils("IADD", "KADD", 41.99, -95.0, 109100000, 175.2, 10.0, 18, 0, "ADD 18 NEW"));
    addon.add_vor_ils(vor(BglVorIls::low, 1 | 16, "SUB", "Suburb New", 42.12, -95.11, 116400000, 10.0));
    put("fs9/Addon Scenery/KADD/SCENERY/ADDON.BGL", addon.bytes());

    /* Inactive: none of it may show. */
    BglWriter old;
    old.add_airport(airport("KBAS", "Inactive Base", 40.0, -100.0, 0.0,
                            {runway(1, 0, 19, 0, 10.0, 900)}));
    old.add_vor_ils(vor(BglVorIls::low, 1, "INA", "Inactive Vor", 40.0, -100.0, 114000000, 0.0));
    put("fs9/Addon Scenery/Old/scenery/OLD.BGL", old.bytes());

    /* The absolute Local=: the later record form, names in a name list. */
    BglWriter abs;
    abs.names_in_name_list = true;
    abs.add_airport(airport("KABS", "Absolute Airfield", 35.0, -110.0, 348.0,
                            {runway(4, 0, 22, 0, 52.0, 1800)}, true));
    put("elsewhere/Absolute Area/scenery/ABS.BGL", abs.bytes());

    /* The damaged files, each beside a good one. */
    BglWriter good;
    good.add_airport(airport("KGUD", "Good Beside Bad", 38.0, -97.0, 5.0,
                             {runway(12, 0, 30, 0, 115.0, 1600)}));
    put("fs9/Addon Scenery/Bad/scenery/GOOD.BGL", good.bytes());

    BglWriter cut;
    cut.add_airport(airport("KCUT", "Cut Short", 38.0, -98.0, 0.0, {runway(1, 0, 19, 0, 5.0, 900)}));
    std::string cut_bytes = cut.bytes();
    put("fs9/Addon Scenery/Bad/scenery/TRUNC.BGL", cut_bytes.substr(0, cut_bytes.size() - 30));

    BglWriter past;
    past.add_airport(airport("KPST", "Past End", 38.0, -99.0, 0.0, {runway(1, 0, 19, 0, 5.0, 900)}));
    std::string past_bytes = past.bytes();
    bgl_put32(&past_bytes, past.layout()[0].pointer_at + bgl::section_table_offset, 0x00FFFFF0);
    put("fs9/Addon Scenery/Bad/scenery/PASTEND.BGL", past_bytes);

    /* Size 0 on the second airport: the first is kept. */
    BglWriter zero;
    zero.add_airport(airport("KZRA", "Zero Before", 37.0, -97.0, 0.0, {runway(3, 0, 21, 0, 30.0, 1000)}));
    zero.add_airport(airport("KZRB", "Zero Itself", 37.0, -98.0, 0.0, {runway(3, 0, 21, 0, 30.0, 1000)}));
    std::string zero_bytes = zero.bytes();
    bgl_put32(&zero_bytes, zero.layout()[0].records[1] + bgl::record_size, 0);
    put("fs9/Addon Scenery/Bad/scenery/SIZE0.BGL", zero_bytes);

    put("fs9/Addon Scenery/Bad/scenery/EMPTY.BGL", std::string());
    put("fs9/Addon Scenery/Bad/scenery/NOTBGL.BGL", "this is not a BGL file\r\n");
    put("fs9/Addon Scenery/Bad/scenery/OLDFMT.BGL", bgl_older_format_file());
    /* A later simulator's airport record beside a good NDB. */
    BglWriter later;
    std::string record(60, '\0');
    bgl_put16(&record, bgl::record_id, 0x00AB);
    bgl_put32(&record, bgl::record_size, 60);
    later.add_record(bgl::section_airports, record);
    later.add_ndb(ndb("LT", "Later Beacon", 38.5, -97.5, 335000));
    put("fs9/Addon Scenery/Bad/scenery/LATER.BGL", later.bytes());
    /* Unreadable: a name that leads nowhere (root reads any mode). */
    std::string unreadable = out_dir + "/fs9/Addon Scenery/Bad/scenery/UNREAD.BGL";
    unlink(unreadable.c_str());
    if (symlink("no such file", unreadable.c_str()) != 0) {
        fprintf(stderr, "make_scenery_fixtures: %s: %s\n", unreadable.c_str(), strerror(errno));
        failures++;
    }
    /* Not a BGL by name: never opened. */
    put("fs9/Addon Scenery/Bad/scenery/README.TXT", "not scenery\r\n");

    std::string absolute = out_as_written + "\\elsewhere\\Absolute Area";
    put("fs9/SCENERY.CFG",
        "[General]\r\n"
        "Title=FS9 World Scenery\r\n"
        "Description=FS9 Scenery Data\r\n"
        "Clean_on_Exit=TRUE\r\n"
        "\r\n"
        "[Area.001]\r\n"
        "Title=Base\r\n"
        "Local=Scenery\\BASE\r\n"
        "Layer=1\r\n"
        "Active=TRUE\r\n"
        "Required=TRUE\r\n"
        "\r\n"
        "[Area.002]\r\n"
        "Title=Addon KADD\r\n"
        "Texture_ID=2\r\n"
        "Local=Addon Scenery\\KADD\r\n"
        "Layer=20\r\n"
        "Active=TRUE\r\n"
        "\r\n"
        "[Area.003]\r\n"
        "Title=Old Addon\r\n"
        "Local=Addon Scenery\\Old\r\n"
        "Layer=30\r\n"
        "Active=FALSE\r\n"
        "\r\n"
        "[Area.004]\r\n"
        "Title=Absolute\r\n"
        "Local=" + absolute + "\r\n"
        "Layer=5\r\n"
        "\r\n"
        "[Area.005]\r\n"
        "Title=Gone\r\n"
        "Local=Addon Scenery\\Gone\r\n"
        "Layer=6\r\n"
        "\r\n"
        "this line is garbage\r\n"
        "[Area.006]\r\n"
        "Title=Damaged\r\n"
        "Local=\r\n"
        "Remote=Addon Scenery\\Bad\r\n"
        "Layer=7\r\n"
        "Active=sometimes\r\n"
        "\r\n"
        "[Area.007]\r\n"
        "Title=Base again\r\n"
        "Local=scenery\\base\\\r\n"
        "Layer=1\r\n");
}

/* ---- The later release: its library in the program-data folder ---- */

static void fsx()
{
    BglWriter world;
    /* KFSX: 14 west.  31 has ILS IFSX, 13 none. */
    world.add_airport(airport("KFSX", "Later Field", 45.0, -120.0, 14.0,
                              {runway(13, 0, 31, 0, 118.0, 2400, "", "IFSX")}, true));
    world.add_vor_ils(ils("IFSX", "KFSX", 44.99, -119.98, 111500000, 298.2, 14.0, 31, 0, "LATER 31"));
    world.add_vor_ils(vor(BglVorIls::high, 1 | 16, "FSV", "Fsx Vor", 45.1, -120.1, 115700000, 14.0));
    world.add_ndb(ndb("FN", "Fsx Beacon", 45.2, -120.2, 400000));
    world.add_objects(4096);
    put("fsx/FSX/Scenery/World/scenery/APX45120.bgl", world.bytes());

    BglWriter addon;
    addon.add_vor_ils(vor(BglVorIls::high, 1 | 16, "FSV", "Fsx Vor Updated", 45.1, -120.1, 115750000, 14.0));
    put("fsx/FSX/Addon Scenery/Navaids/scenery/NAVFIX.BGL", addon.bytes());

    put("fsx/ProgramData/Microsoft/FSX/Scenery.CFG",
        "[General]\r\nTitle=FS World\r\nDescription=FS Scenery Data\r\n\r\n"
        "[Area.001]\r\nTitle=World\r\nLocal=Scenery\\World\r\nLayer=1\r\nActive=TRUE\r\n"
        "Required=TRUE\r\n\r\n"
        "[Area.002]\r\nTitle=Navaid update\r\nLocal=Addon Scenery\\Navaids\r\nLayer=2\r\n"
        "Active=TRUE\r\n");
}

/* ---- Nothing good in it ---- */

static void bad_only()
{
    put("bad_only/Scenery/Bad/scenery/NOTBGL.BGL", "not a BGL\r\n");
    put("bad_only/Scenery/Bad/scenery/EMPTY.BGL", std::string());
    put("bad_only/Scenery/Bad/scenery/OLDFMT.BGL", bgl_older_format_file());
    put("bad_only/scenery.cfg", "[Area.001]\r\nLocal=Scenery\\Bad\r\nLayer=1\r\n");
}

int main(int argc, char **argv)
{
    if (argc < 2 || argc > 3) {
        fprintf(stderr, "usage: make_scenery_fixtures OUT [OUT-AS-WRITTEN]\n");
        return 2;
    }
    out_dir = argv[1];
    out_as_written = argc > 2 ? argv[2] : argv[1];
    mkdir(out_dir.c_str(), 0777);
    fs9();
    fsx();
    bad_only();
    return failures ? 1 : 0;
}
