/*
 * Writes the BGL fuzz target's seed files into the folder given: files of
 * both airport forms with runways, ILS, VORs, NDBs, markers, a name list,
 * skipped sections and several subsections, made with the tests' writer.
 */
#include <stdio.h>

#include <string>

#include "tests/tools/bgl_writer.h"

static void put(const std::string &folder, const char *name, const std::string &bytes)
{
    std::string path = folder + "/" + name;
    FILE *f = fopen(path.c_str(), "wb");
    if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || fclose(f) != 0) {
        fprintf(stderr, "bgl_seeds: cannot write %s\n", path.c_str());
        exit(1);
    }
}

static BglAirport airport(const char *ident, bool fsx, double variation)
{
    BglAirport a;
    a.ident = ident;
    a.fsx_form = fsx;
    a.latitude = 47.45;
    a.longitude = -122.31;
    a.magnetic_variation = variation;
    a.name = std::string(ident) + " Intl";
    BglRunway r;
    r.primary_number = 16;
    r.primary_designator = 1;
    r.secondary_number = 34;
    r.secondary_designator = 2;
    r.primary_ils = "ISNQ";
    r.latitude = 47.45;
    r.longitude = -122.31;
    r.length_m = 3000;
    r.width_m = 45;
    r.heading = 179.6;
    a.runways.push_back(r);
    r.primary_designator = r.secondary_designator = 3;
    r.primary_ils = "";
    r.secondary_ils = "IBEJ";
    a.runways.push_back(r);
    a.helipads = 1;
    return a;
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: bgl_seeds FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];

    BglVorIls ils;
    ils.type = BglVorIls::ils;
    ils.flags = 1 | 8 | 16;
    ils.latitude = 47.43;
    ils.longitude = -122.31;
    ils.frequency_hz = 110300000;
    ils.magnetic_variation = 15.5;
    ils.ident = "ISNQ";
    ils.region = "K1";
    ils.airport = "KSEA";
    ils.has_localizer = ils.has_glide_slope = ils.has_dme = true;
    ils.localizer_runway_number = 16;
    ils.localizer_runway_designator = 1;
    ils.localizer_heading = 179.6;
    ils.localizer_width = 5;
    ils.name = "IGS RWY 16L";
    BglVorIls vor = ils;
    vor.type = BglVorIls::high;
    vor.ident = "SEA";
    vor.airport = "";
    vor.has_localizer = vor.has_glide_slope = false;
    vor.frequency_hz = 116800000;
    BglNdb ndb;
    ndb.type = 2;
    ndb.frequency = 362000;
    ndb.latitude = 47.5;
    ndb.longitude = -122.2;
    ndb.ident = "CNA";
    ndb.region = "K1";
    ndb.name = "CARNATION";

    BglWriter fsx;
    fsx.airport_options.coms = 1;
    fsx.airport_options.runway_thresholds = true;
    fsx.add_airport(airport("KSEA", true, 15.5));
    BglAirport deleting = airport("KBFI", true, 356.5);
    BglDeletion d;
    d.flags = bgl_delete_all_runways;
    d.runways.push_back(BglDeletion::Runway{13, 31, 1, 2});
    deleting.deletions.push_back(d);
    fsx.add_airport(deleting);
    fsx.add_vor_ils(ils);
    fsx.add_vor_ils(vor);
    fsx.add_ndb(ndb);
    fsx.add_markers(2);
    fsx.add_objects(512);
    put(folder, "fsx", fsx.bytes());

    BglWriter fs2004;
    fs2004.names_in_name_list = true;
    fs2004.records_per_subsection = 1;
    fs2004.add_airport(airport("EDDF", false, 358));
    fs2004.add_airport(airport("EDDM", false, 357));
    fs2004.add_ndb(ndb);
    put(folder, "fs2004", fs2004.bytes());

    BglWriter later;
    std::string record(60, '\0');
    bgl_put16(&record, 0, bgl::id_airport_later);
    bgl_put32(&record, 2, 60);
    later.add_record(bgl::section_airports, record);
    later.add_section(bgl::section_later, 0x10000, {std::string(40, '\x11')});
    put(folder, "later", later.bytes());

    put(folder, "older", bgl_older_format_file(128));
    return 0;
}
