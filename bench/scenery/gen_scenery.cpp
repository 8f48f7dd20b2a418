/*
 * A made-up simulator scenery of a whole world's shape, for the converter's
 * benchmark: a simulator folder with scenery.cfg and its areas, thousands of
 * BGL files and a gigabyte or more in all, the same bytes for the same seed.
 *
 *   gen_scenery [--megabytes N] [--seed S] SIMDIR
 *   gen_scenery [--megabytes N] [--seed S] --stamp
 *
 * What it holds (bytes as --megabytes says, default 1024 MiB):
 *   - 40 region areas (Scenery/R01 ... R40, layers 1 to 40), each with an
 *     airport file (AP*.bgl: 600 airports, 2 to 4 runways each, names as
 *     subrecords or in a name list, the 2004 record form in R01, R03, ...
 *     and the later one in R02, R04, ..., COMs, markers and a small object
 *     section beside them) and a
 *     navaid file (NV*.bgl: VORs, DMEs, VOTs, NDBs; the landing systems in
 *     the airport file in R01, R03, ... and in the navaid file in R02, R04,
 *     ...);
 *     in all 24,000 airports and 10,000 navaid records (4,000 VOR/DME/VOT,
 *     3,500 NDB, 2,500 ILS);
 *   - most of the bytes in object-only files (OB*.bgl, 2 KB to 6 MB, one to
 *     three sections the reader passes over, written in large blocks of
 *     object-like filler), spread over the region areas;
 *   - older, unsectioned files (TR*.bgl) in every region;
 *   - three add-on areas above them (layers 100 to 102) redefining airports
 *     (a new ILS frequency and a new runway; runways deleted by a
 *     DeleteAirport; the later form in an upper-case SCENERY folder with
 *     .BGL names) and VORs and NDBs; an inactive area; an area whose folder
 *     is missing.
 *
 * SIMDIR/read-list.txt lists the files of the active areas (the ones the
 * converter reads), SIMDIR/generated.txt the stamp (its first line, which
 * --stamp prints without writing anything, names the size and seed) and the
 * counts; it is written last, so a tree without it is incomplete.
 */
#include <errno.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../random.h"
#include "bgl_writer.h"

namespace {

const int regions = 40;
const int airports_per_region = 600;       /* 24,000 */
const int vors_per_region = 100;           /* 4,000 VOR, DME and VOT records */
const int ndbs_per_region = 88;            /* 3,520 less those given up below: 3,500 */
const int ils_total = 2500;
const int older_per_region = 8;

std::string sim;                            /* SIMDIR */
int failures = 0;

struct Counts {
    long files = 0, object_files = 0, older_files = 0, nav_files = 0;
    unsigned long long bytes = 0, object_bytes = 0;
    long airports = 0, runways = 0, ils = 0, vors = 0, ndbs = 0;
    long airports_redefined = 0, vors_redefined = 0, ndbs_redefined = 0;
};
Counts counts;
std::vector<std::string> read_list;         /* relative paths of the active areas' files */

void make_folders(const std::string &relative)
{
    std::string path = sim;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t slash = relative.find('/', start);
        if (slash == std::string::npos)
            slash = relative.size();
        path += "/" + relative.substr(start, slash - start);
        if (mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) {
            fprintf(stderr, "gen_scenery: %s: %s\n", path.c_str(), strerror(errno));
            failures++;
        }
        start = slash + 1;
    }
}

FILE *create(const std::string &relative, bool read)
{
    size_t slash = relative.rfind('/');
    if (slash != std::string::npos)
        make_folders(relative.substr(0, slash));
    std::string path = sim + "/" + relative;
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) {
        fprintf(stderr, "gen_scenery: cannot write %s: %s\n", path.c_str(), strerror(errno));
        failures++;
    }
    if (read)
        read_list.push_back(relative);
    return f;
}

void finish(FILE *f, const std::string &relative)
{
    if (f && (ferror(f) || fclose(f) != 0)) {
        fprintf(stderr, "gen_scenery: cannot write %s\n", relative.c_str());
        failures++;
    }
}

/* A BGL file (counted; in the read list unless its area is inactive). */
void put(const std::string &relative, const std::string &bytes, bool read = true)
{
    FILE *f = create(relative, read);
    if (f)
        fwrite(bytes.data(), 1, bytes.size(), f);
    finish(f, relative);
    counts.files++;
    counts.bytes += bytes.size();
}

/* scenery.cfg and the lists beside the BGL files. */
void put_text(const std::string &relative, const std::string &text)
{
    FILE *f = create(relative, false);
    if (f)
        fwrite(text.data(), 1, text.size(), f);
    finish(f, relative);
}

/* ---- Object-only files, in large blocks ---- */

/* Object-like filler: records of 0x40 bytes (W id, D size), repeated; a
 * block is a whole number of them, so any run of blocks is whole records. */
const size_t block_size = 1u << 20;
std::vector<unsigned char> block;

void make_block()
{
    block.assign(block_size, 0);
    for (size_t at = 0; at + 0x40 <= block_size; at += 0x40) {
        block[at] = 0x0B;
        block[at + 2] = 0x40;
        for (size_t i = 6; i < 0x40; i++)
            block[at + i] = (unsigned char)((at / 0x40 * 31 + i * 7) & 0xFF);
    }
}

/* One file of `size` bytes (about) of sections the reader passes over. */
void object_file(const std::string &relative, unsigned long long size, Random &rng, bool read)
{
    using namespace bgl;
    static const uint32_t types[] = {section_objects, 0x65, 0x2B, 0x67, 0x1D, 0x20};
    int sections = size < (256u << 10) ? 1 : 1 + (int)rng.below(3);
    struct Pending {
        uint32_t type, flags;
        unsigned long long records;                 /* bytes of records, 0x40 each */
        unsigned subsections;
    };
    std::vector<Pending> parts;
    unsigned long long left = size > 4096 ? size - 4096 : 0x40;
    for (int s = 0; s < sections; s++) {
        Pending p;
        p.type = types[rng.below(6)];
        p.flags = rng.below(4) == 0 ? 0x10001u : 1u;
        unsigned long long share = s == sections - 1 ? left : left / 2;
        p.records = share / 0x40 * 0x40;
        if (p.records < 0x40)
            p.records = 0x40;
        left -= share < left ? share : left;
        unsigned long long cells = p.records / (64u << 10);
        p.subsections = (unsigned)(cells < 1 ? 1 : cells > 256 ? 256 : cells);
        parts.push_back(p);
    }
    /* Header, pointers, every table, then the records section by section. */
    std::string head(header_size + parts.size() * section_pointer_size, '\0');
    bgl_put32(&head, header_magic, file_magic);
    bgl_put32(&head, header_size_field, header_size);
    bgl_put32(&head, header_filetime, 0xD53E8000);
    bgl_put32(&head, header_filetime + 4, 0x01C9F1A0);
    bgl_put32(&head, header_second_magic, second_magic);
    bgl_put32(&head, header_section_count, (uint32_t)parts.size());
    size_t tables = head.size();
    for (const Pending &p : parts)
        tables += p.subsections * subsection_entry_size(p.flags);
    std::string table_bytes;
    unsigned long long records_at = tables;
    for (size_t s = 0; s < parts.size(); s++) {
        const Pending &p = parts[s];
        unsigned entry = subsection_entry_size(p.flags);
        size_t pointer = header_size + s * section_pointer_size;
        bgl_put32(&head, pointer + section_type, p.type);
        bgl_put32(&head, pointer + section_flags, p.flags);
        bgl_put32(&head, pointer + section_subsection_count, p.subsections);
        bgl_put32(&head, pointer + section_table_offset, (uint32_t)(head.size() + table_bytes.size()));
        bgl_put32(&head, pointer + section_table_size, p.subsections * entry);
        unsigned long long records = p.records / 0x40;
        for (unsigned i = 0; i < p.subsections; i++) {
            unsigned long long mine = records / p.subsections + (i < records % p.subsections ? 1 : 0);
            std::string e(entry, '\0');
            bgl_put32(&e, subsection_id, 0x200 + i);
            bgl_put32(&e, subsection_record_count, (uint32_t)mine);
            bgl_put32(&e, subsection_records_offset, (uint32_t)records_at);
            bgl_put32(&e, subsection_records_size, (uint32_t)(mine * 0x40));
            table_bytes += e;
            records_at += mine * 0x40;
        }
    }
    FILE *f = create(relative, read);
    if (f) {
        fwrite(head.data(), 1, head.size(), f);
        fwrite(table_bytes.data(), 1, table_bytes.size(), f);
        for (const Pending &p : parts)
            for (unsigned long long done = 0; done < p.records;) {
                size_t n = p.records - done < block_size ? (size_t)(p.records - done) : block_size;
                fwrite(block.data(), 1, n, f);
                done += n;
            }
    }
    finish(f, relative);
    counts.files++;
    counts.object_files++;
    counts.bytes += records_at;
    counts.object_bytes += records_at;
}

/* ---- The world's records ---- */

struct Region {
    double south, west;                 /* a 30 x 36 degree cell */
    double east_variation;              /* degrees east, of the region's middle */
    std::string icao;                   /* region code of its navaids */
};

double stored_variation(double east)
{
    /* west positive, east E as 360 - E */
    double v = fmod(360.0 - east, 360.0);
    return v < 0 ? v + 360.0 : v;
}

std::string letters(long value, int width)
{
    std::string text(width, 'A');
    for (int i = width - 1; i >= 0; i--) {
        text[i] = (char)('A' + value % 26);
        value /= 26;
    }
    return text;
}

struct World {
    std::vector<Region> regions;
    std::vector<std::vector<BglAirport>> airports;      /* by region */
    std::vector<std::vector<BglVorIls>> ils;            /* by region */
    std::vector<std::vector<BglVorIls>> vors;
    std::vector<std::vector<BglNdb>> ndbs;
};

int runway_number(double heading)
{
    int n = (int)floor(heading / 10.0 + 0.5) % 36;
    return n == 0 ? 36 : n;
}

BglRunway make_runway(const BglAirport &a, double heading, int designator, Random &rng)
{
    BglRunway r;
    r.primary_number = runway_number(heading);
    r.secondary_number = runway_number(fmod(heading + 180.0, 360.0));
    r.primary_designator = designator;
    r.secondary_designator = designator == 1 ? 2 : designator == 2 ? 1 : designator;
    r.heading = heading;
    r.latitude = a.latitude + rng.between(-0.01, 0.01);
    r.longitude = a.longitude + rng.between(-0.01, 0.01);
    r.elevation_m = a.elevation_m;
    r.length_m = (double)(800 + 100 * rng.below(33));
    r.width_m = r.length_m > 2000 ? 45 : 30;
    r.surface = rng.below(5) == 0 ? 0 : 4;      /* some grass, most concrete */
    return r;
}

BglVorIls make_ils(const BglAirport &a, const BglRunway &r, bool secondary, const std::string &ident,
                   const std::string &region, double variation, Random &rng)
{
    BglVorIls v;
    v.type = BglVorIls::ils;
    v.flags = 1 | 8 | (rng.below(2) ? 16 : 0);
    v.ident = ident;
    v.airport = a.ident;
    v.region = region;
    v.latitude = r.latitude + rng.between(-0.02, 0.02);
    v.longitude = r.longitude + rng.between(-0.02, 0.02);
    v.elevation_m = a.elevation_m;
    v.frequency_hz = 108100000ul + 200000ul * (unsigned long)rng.below(20) +
                     50000ul * (unsigned long)rng.below(2);
    v.range_m = 50000;
    v.magnetic_variation = variation;
    v.has_localizer = true;
    v.localizer_runway_number = secondary ? r.secondary_number : r.primary_number;
    v.localizer_runway_designator = secondary ? r.secondary_designator : r.primary_designator;
    v.localizer_heading = secondary ? fmod(r.heading + 180.0, 360.0) : r.heading;
    v.localizer_heading = fmod(v.localizer_heading + 360.0 + rng.between(-0.3, 0.3), 360.0);
    v.localizer_width = 5;
    v.has_glide_slope = true;
    v.has_dme = (v.flags & 16) != 0;
    v.name = "ILS " + a.ident + " " + std::to_string(v.localizer_runway_number);
    return v;
}

void make_world(World *w, unsigned long seed)
{
    Random rng(seed);
    w->regions.resize(regions);
    w->airports.resize(regions);
    w->ils.resize(regions);
    w->vors.resize(regions);
    w->ndbs.resize(regions);
    long ident = 0, navaid = 0;
    for (int r = 0; r < regions; r++) {
        Region &g = w->regions[r];
        g.south = -60 + 30 * (r / 10);
        g.west = -180 + 36 * (r % 10);
        g.east_variation = rng.between(-20, 20);
        g.icao = std::string(1, (char)('A' + r % 26)) + (char)('1' + r / 26);
        for (int i = 0; i < airports_per_region; i++) {
            BglAirport a;
            /* Codes unique over the world (7919 is prime to 26^4), spread
             * over every first letter; every 50th one two letters and a
             * digit. */
            a.ident = i % 50 == 49 ? letters(ident % 676, 2) + (char)('0' + r % 10)
                                   : letters((ident * 7919 + 12345) % 456976, 4);
            ident++;
            a.name = "Field " + a.ident + " " + letters(rng.below(17576), 3) + " Regional";
            a.latitude = g.south + rng.between(0.5, 29.5);
            a.longitude = g.west + rng.between(0.5, 35.5);
            a.elevation_m = (double)rng.below(2000);
            a.magnetic_variation = stored_variation(g.east_variation + rng.between(-1, 1));
            a.fsx_form = r % 2 == 1;
            int n = 2 + (int)rng.below(3);
            double heading = rng.between(0, 360);
            for (int k = 0; k < n; k++) {
                bool parallel = k == 1 && rng.below(4) == 0;
                if (parallel) {
                    a.runways[0].primary_designator = 1;
                    a.runways[0].secondary_designator = 2;
                    a.runways.push_back(make_runway(a, a.runways[0].heading, 2, rng));
                } else {
                    a.runways.push_back(make_runway(a, fmod(heading + 40.0 * k, 360.0), 0, rng));
                }
            }
            w->airports[r].push_back(a);
            counts.airports++;
            counts.runways += n;
        }
        for (int i = 0; i < vors_per_region; i++) {
            BglVorIls v;
            int kind = (int)rng.below(100);
            v.type = kind < 4 ? BglVorIls::vot : 1 + (int)rng.below(3);
            v.flags = kind >= 4 && kind < 10 ? 16u : kind < 60 ? 1u | 16u : 1u;   /* 6 % DME only */
            v.ident = letters(navaid++, 3);
            v.region = g.icao;
            v.latitude = g.south + rng.between(0.5, 29.5);
            v.longitude = g.west + rng.between(0.5, 35.5);
            v.elevation_m = (double)rng.below(1500);
            v.frequency_hz = 108000000ul + 50000ul * (unsigned long)rng.below(200);
            v.range_m = v.type == BglVorIls::high ? 240000 : 75000;
            v.magnetic_variation = stored_variation(g.east_variation + rng.between(-1, 1));
            v.has_dme = (v.flags & 16) != 0;
            v.name = "Radio " + v.ident;
            w->vors[r].push_back(v);
            counts.vors++;
        }
        int ndbs = ndbs_per_region - (r < 20 ? 1 : 0);
        for (int i = 0; i < ndbs; i++) {
            BglNdb n;
            n.type = 1 + (int)rng.below(3);
            n.ident = letters(navaid++, 3);
            n.region = g.icao;
            if (rng.below(3) == 0)
                n.airport = w->airports[r][rng.below(airports_per_region)].ident;
            n.latitude = g.south + rng.between(0.5, 29.5);
            n.longitude = g.west + rng.between(0.5, 35.5);
            n.frequency = 1000ul * (unsigned long)(190 + rng.below(346));
            n.range_m = 40000;
            n.magnetic_variation = stored_variation(g.east_variation);
            n.name = "Beacon " + n.ident;
            w->ndbs[r].push_back(n);
            counts.ndbs++;
        }
    }
    /* The landing systems: one end of a runway, both ends (one frequency
     * for both now and then), or a localizer that only names its runway. */
    long made = 0;
    while (made < ils_total) {
        int r = (int)rng.below(regions);
        BglAirport &a = w->airports[r][rng.below(airports_per_region)];
        BglRunway &rw = a.runways[0];
        if (!rw.primary_ils.empty())
            continue;
        double variation = stored_variation(w->regions[r].east_variation + rng.between(-1, 1));
        std::string id = "I" + letters(made, 3);
        BglVorIls primary = make_ils(a, rw, false, id, w->regions[r].icao, variation, rng);
        if (rng.below(10) != 0)
            rw.primary_ils = id;          /* else joined by its localizer's runway */
        else
            rw.primary_ils = "-";         /* taken; written as none below */
        w->ils[r].push_back(primary);
        made++;
        if (made < ils_total && rng.below(3) == 0) {
            std::string other = "I" + letters(made, 3);
            BglVorIls secondary = make_ils(a, rw, true, other, w->regions[r].icao, variation, rng);
            if (rng.below(4) == 0)
                secondary.frequency_hz = primary.frequency_hz;
            rw.secondary_ils = other;
            w->ils[r].push_back(secondary);
            made++;
        }
    }
    for (auto &list : w->airports)
        for (BglAirport &a : list)
            if (a.runways[0].primary_ils == "-")
                a.runways[0].primary_ils.clear();
    counts.ils = made;
}

/* ---- The areas ---- */

struct Area {
    int number;
    std::string title, local;           /* local with '/' */
    int layer;
    bool active;
};
std::vector<Area> areas;

std::string backslashed(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

/* Sizes of object-only files: mostly small, most bytes in the large ones. */
unsigned long long object_size(Random &rng)
{
    double lo, hi;
    if (rng.below(100) < 85) {
        lo = log(2048.0);
        hi = log(128.0 * 1024);
    } else {
        lo = log(512.0 * 1024);
        hi = log(6.0 * 1024 * 1024);
    }
    return (unsigned long long)exp(rng.between(lo, hi)) / 0x40 * 0x40;
}

void region_areas(const World &w, unsigned long long total, Random &rng)
{
    for (int r = 0; r < regions; r++) {
        char local[32];
        snprintf(local, sizeof local, "Scenery/R%02d", r + 1);
        areas.push_back(Area{r + 1, "Region " + std::to_string(r + 1), local, r + 1, true});
        std::string folder = std::string(local) + "/scenery/";

        BglWriter ap;
        ap.names_in_name_list = r % 4 == 2;
        ap.airport_options.coms = 2;
        ap.airport_options.runway_thresholds = r % 3 == 0;
        for (const BglAirport &a : w.airports[r])
            ap.add_airport(a);
        if (r % 2 == 0)
            for (const BglVorIls &v : w.ils[r])
                ap.add_vor_ils(v);
        ap.add_markers(20, w.regions[r].south + 10, w.regions[r].west + 10);
        ap.add_objects(256u << 10);
        char name[64];
        snprintf(name, sizeof name, "AP%04d.bgl", 910 + r);
        put(folder + name, ap.bytes());
        counts.nav_files++;

        BglWriter nv;
        for (const BglVorIls &v : w.vors[r])
            nv.add_vor_ils(v);
        if (r % 2 == 1)
            for (const BglVorIls &v : w.ils[r])
                nv.add_vor_ils(v);
        for (const BglNdb &n : w.ndbs[r])
            nv.add_ndb(n);
        snprintf(name, sizeof name, "NV%04d.bgl", 910 + r);
        put(folder + name, nv.bytes());
        counts.nav_files++;

        for (int i = 0; i < older_per_region; i++) {
            snprintf(name, sizeof name, "TR%02d%03d.bgl", r + 1, i);
            put(folder + name, bgl_older_format_file(4096 + 4096 * (size_t)rng.below(16)));
            counts.older_files++;
        }
    }
    /* The objects, region by region, until the tree is its size. */
    int i = 0;
    while (counts.bytes < total) {
        int r = i % regions;
        char name[80];
        snprintf(name, sizeof name, "Scenery/R%02d/scenery/OB%02d%04d.bgl", r + 1, r + 1, i / regions);
        unsigned long long size = object_size(rng);
        if (counts.bytes + size > total)
            size = total - counts.bytes < 4096 ? 4096 : total - counts.bytes;
        object_file(name, size, rng, true);
        i++;
    }
}

BglAirport redefined(const BglAirport &below, const std::vector<BglVorIls> &ils_below,
                     std::vector<BglVorIls> *ils_above, Random &rng)
{
    BglAirport a = below;
    a.name = below.name + " (add-on)";
    a.runways.push_back(make_runway(a, fmod(a.runways[0].heading + 90.0, 360.0), 0, rng));
    for (const BglVorIls &l : ils_below)
        if (l.airport == a.ident) {
            BglVorIls moved = l;
            moved.frequency_hz = l.frequency_hz == 111950000ul ? 108100000ul : l.frequency_hz + 50000ul;
            ils_above->push_back(moved);
        }
    return a;
}

void addon_areas(const World &w, Random &rng)
{
    /* 1: 300 airports redefined whole (their ILS on new frequencies, a new
     * runway), 40 VORs moved a little onto new frequencies. */
    {
        areas.push_back(Area{100, "Addon Airports West", "Addon Scenery/West", 100, true});
        BglWriter f;
        std::vector<BglVorIls> ils;
        for (int k = 0; k < 300; k++) {
            int r = k % 10;
            const BglAirport &below = w.airports[r][(size_t)(k * 7) % airports_per_region];
            f.add_airport(redefined(below, w.ils[r], &ils, rng));
            counts.airports_redefined++;
        }
        for (const BglVorIls &v : ils)
            f.add_vor_ils(v);
        for (int k = 0; k < 40; k++) {
            BglVorIls v = w.vors[k % 10][(size_t)k * 2];
            v.latitude += 0.01;
            v.frequency_hz = v.frequency_hz == 117950000ul ? 108000000ul : v.frequency_hz + 50000ul;
            f.add_vor_ils(v);
            counts.vors_redefined++;
        }
        put("Addon Scenery/West/scenery/ADDWEST.bgl", f.bytes());
        counts.nav_files++;
        object_file("Addon Scenery/West/scenery/ADDWEST_OBJ.bgl", 3u << 20, rng, true);
    }
    /* 2: 100 airports, 20 of them with no runways of their own and a
     * DeleteAirport naming their first; some of the first area's airports
     * again; 60 NDBs on new frequencies. */
    {
        areas.push_back(Area{101, "Addon Airports East", "Addon Scenery/East", 101, true});
        BglWriter f;
        std::vector<BglVorIls> ils;
        for (int k = 0; k < 100; k++) {
            int r = k < 30 ? k % 10 : 10 + k % 20;
            const BglAirport &below = w.airports[r][(size_t)(k * 7) % airports_per_region];
            if (k >= 80) {
                BglAirport a = below;
                a.runways.clear();
                BglDeletion d;
                d.flags = 1u << 3;
                const BglRunway &first = below.runways[0];
                d.runways.push_back(BglDeletion::Runway{first.primary_number, first.secondary_number,
                                                        first.primary_designator,
                                                        first.secondary_designator});
                a.deletions.push_back(d);
                f.add_airport(a);
            } else {
                f.add_airport(redefined(below, w.ils[r], &ils, rng));
            }
            counts.airports_redefined++;
        }
        for (const BglVorIls &v : ils)
            f.add_vor_ils(v);
        for (int k = 0; k < 60; k++) {
            BglNdb n = w.ndbs[10 + k % 30][(size_t)k];
            n.frequency += 1000;
            f.add_ndb(n);
            counts.ndbs_redefined++;
        }
        put("Addon Scenery/East/scenery/ADDEAST.bgl", f.bytes());
        counts.nav_files++;
        object_file("Addon Scenery/East/scenery/ADDEAST_OBJ.bgl", 2u << 20, rng, true);
    }
    /* 3: the later record form, upper-case names: 50 airports of the 2004
     * form's regions. */
    {
        areas.push_back(Area{102, "Addon Later Form", "Addon Scenery/Later", 102, true});
        BglWriter f;
        std::vector<BglVorIls> ils;
        for (int k = 0; k < 50; k++) {
            int r = 2 * (k % 20);
            BglAirport a = redefined(w.airports[r][(size_t)(k * 11 + 3) % airports_per_region],
                                     w.ils[r], &ils, rng);
            a.fsx_form = true;
            f.add_airport(a);
            counts.airports_redefined++;
        }
        for (const BglVorIls &v : ils)
            f.add_vor_ils(v);
        put("Addon Scenery/Later/SCENERY/LATER.BGL", f.bytes());
        counts.nav_files++;
        object_file("Addon Scenery/Later/SCENERY/LATER_OBJECTS.BGL", 1u << 20, rng, true);
    }
    /* Inactive: its files are not read (and not in the read list). */
    {
        areas.push_back(Area{103, "Inactive Addon", "Addon Scenery/Inactive", 103, false});
        BglWriter f;
        BglAirport a = w.airports[0][0];
        a.name = "Inactive";
        f.add_airport(a);
        put("Addon Scenery/Inactive/scenery/INACTIVE.bgl", f.bytes(), false);
        counts.nav_files++;
        object_file("Addon Scenery/Inactive/scenery/INACTIVE_OBJ.bgl", 1u << 20, rng, false);
    }
    areas.push_back(Area{104, "Missing Addon", "Addon Scenery/Missing", 104, true});
}

void write_cfg()
{
    std::string cfg = "[General]\r\nTitle=Synthetic World Scenery\r\nClean_on_Exit=TRUE\r\n";
    for (const Area &a : areas) {
        char number[16];
        snprintf(number, sizeof number, "%03d", a.number);
        cfg += "\r\n[Area." + std::string(number) + "]\r\nTitle=" + a.title + "\r\nLocal=" +
               backslashed(a.local) + "\r\nLayer=" + std::to_string(a.layer) + "\r\nActive=" +
               (a.active ? "TRUE" : "FALSE") + "\r\nRequired=FALSE\r\n";
    }
    put_text("scenery.cfg", cfg);
}

std::string stamp_line(unsigned long long megabytes, unsigned long seed)
{
    return "synthetic scenery 1: " + std::to_string(megabytes) + " MiB, seed " +
           std::to_string(seed);
}

}  // namespace

int main(int argc, char **argv)
{
    unsigned long long megabytes = 1024;
    unsigned long seed = 1;
    bool stamp_only = false;
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; i++) {
        if (!strcmp(argv[i], "--megabytes") && i + 1 < argc)
            megabytes = strtoull(argv[++i], 0, 10);
        else if (!strcmp(argv[i], "--seed") && i + 1 < argc)
            seed = strtoul(argv[++i], 0, 10);
        else if (!strcmp(argv[i], "--stamp"))
            stamp_only = true;
        else
            break;
    }
    if ((stamp_only ? i < argc - 1 : i != argc - 1) || megabytes < 64 || megabytes > 65536) {
        fprintf(stderr, "usage: gen_scenery [--megabytes N (64 to 65536, default 1024)] "
                        "[--seed S] SIMDIR\n       gen_scenery [--megabytes N] [--seed S] --stamp\n");
        return 2;
    }
    if (stamp_only) {
        printf("%s\n", stamp_line(megabytes, seed).c_str());
        return 0;
    }
    sim = argv[i];
    if (mkdir(sim.c_str(), 0777) != 0 && errno != EEXIST) {
        fprintf(stderr, "gen_scenery: %s: %s\n", sim.c_str(), strerror(errno));
        return 1;
    }
    timespec start, end;
    clock_gettime(CLOCK_MONOTONIC, &start);
    make_block();
    World w;
    make_world(&w, seed);
    Random rng(seed + 1000);
    region_areas(w, megabytes << 20, rng);
    addon_areas(w, rng);
    write_cfg();

    std::string list;
    for (const std::string &path : read_list)
        list += path + "\n";
    put_text("read-list.txt", list);
    char text[1024];
    snprintf(text, sizeof text,
             "%s\nBGL files %ld (object-only %ld, airports and navaids %ld, older format %ld), "
             "%llu bytes (object-only %llu); in the read list %zu\n"
             "airports %ld (runways %ld), ILS %ld, VOR/DME/VOT %ld, NDB %ld; redefined above: "
             "airports %ld, VORs %ld, NDBs %ld\n",
             stamp_line(megabytes, seed).c_str(), counts.files, counts.object_files,
             counts.nav_files, counts.older_files, counts.bytes, counts.object_bytes,
             read_list.size(), counts.airports, counts.runways, counts.ils, counts.vors,
             counts.ndbs, counts.airports_redefined, counts.vors_redefined, counts.ndbs_redefined);
    if (failures) {
        fprintf(stderr, "gen_scenery: %d files could not be written\n", failures);
        return 1;
    }
    put_text("generated.txt", text);
    clock_gettime(CLOCK_MONOTONIC, &end);
    printf("%s(made in %.1f s)\n", text,
           (double)(end.tv_sec - start.tv_sec) + (double)(end.tv_nsec - start.tv_nsec) / 1e9);
    return failures ? 1 : 0;
}
