#include "lookup_world.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <map>
#include <unordered_set>
#include <vector>

#include "../random.h"

namespace {

/* Where codes begin, weighted roughly by how many airports each region has. */
struct Region {
    const char *prefix;
    int weight;
};
const Region regions[] = {
    {"K", 300}, {"C", 50},  {"Y", 60},  {"EG", 25}, {"ED", 35}, {"EF", 10}, {"ES", 12},
    {"EN", 10}, {"EK", 6},  {"EH", 6},  {"EB", 4},  {"EP", 8},  {"EI", 4},  {"LF", 35},
    {"LE", 12}, {"LI", 15}, {"LO", 5},  {"LS", 6},  {"LG", 6},  {"LP", 4},  {"LT", 6},
    {"S", 80},  {"M", 40},  {"R", 30},  {"U", 50},  {"Z", 30},  {"V", 30},  {"W", 30},
    {"F", 30},  {"D", 10},  {"H", 10},  {"O", 10},  {"N", 10},  {"A", 10},  {"P", 20},
    {"B", 5},   {"T", 5},   {"G", 10},
};
const int region_count = sizeof regions / sizeof *regions;

const char *const places[] = {
    "SEATTLE", "SEDONA", "SAN_FRANCISCO", "SAN_JOSE", "SAN_DIEGO", "SANTA_BARBARA", "SANTA_ROSA",
    "SALT_LAKE_CITY", "SPRINGFIELD", "SPOKANE", "PORTLAND", "PORTSMOUTH", "BOSTON", "DENVER",
    "DALLAS", "HOUSTON", "AUSTIN", "PHOENIX", "TUCSON", "MIAMI", "ORLANDO", "TAMPA", "ATLANTA",
    "CHICAGO", "DETROIT", "CLEVELAND", "COLUMBUS", "MADISON", "MILWAUKEE", "MINNEAPOLIS",
    "LONDON", "MANCHESTER", "BIRMINGHAM", "GLASGOW", "EDINBURGH", "DUBLIN", "CORK", "PARIS",
    "LYON", "MARSEILLE", "TOULOUSE", "NICE", "BORDEAUX", "FRANKFURT", "MUENCHEN", "HAMBURG",
    "BERLIN", "STUTTGART", "KOELN", "DUESSELDORF", "ZURICH", "GENEVE", "BASEL", "WIEN",
    "MADRID", "BARCELONA", "MALAGA", "SEVILLA", "VALENCIA", "LISBOA", "PORTO", "ROMA",
    "MILANO", "NAPOLI", "TORINO", "ATHINAI", "OSLO", "BERGEN", "ALESUND", "STOCKHOLM",
    "GOTEBORG", "HELSINKI", "KOBENHAVN", "AMSTERDAM", "ROTTERDAM", "BRUXELLES", "WARSZAWA",
    "KRAKOW", "PRAHA", "BUDAPEST", "MOSKVA", "SANKT_PETERBURG", "SYDNEY", "MELBOURNE",
    "BRISBANE", "PERTH", "ADELAIDE", "DARWIN", "CAIRNS", "AUCKLAND", "TORONTO", "MONTREAL",
    "VANCOUVER", "CALGARY", "OTTAWA", "MEXICO", "MONTERREY", "GUADALAJARA", "CANCUN",
    "SAO_PAULO", "RIO_DE_JANEIRO", "BUENOS_AIRES", "SANTIAGO", "LIMA", "BOGOTA", "CARACAS",
    "JOHANNESBURG", "CAPE_TOWN", "NAIROBI", "CAIRO", "DUBAI", "DELHI", "MUMBAI", "BEIJING",
    "SHANGHAI", "TOKYO", "OSAKA", "SEOUL", "BANGKOK", "SINGAPORE", "JAKARTA", "MANILA",
    "LAKE_CITY", "VALLEY", "NORTH_BAY", "GREEN_RIVER", "RED_OAK", "PINE_BLUFF", "CEDAR_CREEK",
};
const int place_count = sizeof places / sizeof *places;

/* Names: a place with a kind of field, many with a long common first part. */
const char *const name_patterns[] = {
    "%s_INTL", "%s_REGIONAL", "%s_MUNICIPAL", "%s_COUNTY", "%s_%s_FIELD", "%s_AIRPARK",
    "AEROPUERTO_INTERNACIONAL_DE_%s", "AEROPUERTO_DE_%s", "AERODROME_DE_%s", "FLUGPLATZ_%s",
    "FLUGHAFEN_%s", "SAINT_%s", "NORTH_%s_REGIONAL", "%s_EXECUTIVE", "%s_%s",
};
const int name_pattern_count = sizeof name_patterns / sizeof *name_patterns;
const size_t name_room = 39;

std::string make_name(Random &r)
{
    char name[128];
    const char *pattern = name_patterns[r.below(name_pattern_count)];
    snprintf(name, sizeof name, pattern, places[r.below(place_count)], places[r.below(place_count)]);
    std::string s = name;
    if (s.size() > name_room)
        s.resize(name_room);
    while (!s.empty() && s.back() == '_')
        s.pop_back();
    return s;
}

std::string make_code(Random &r, int total_weight)
{
    long w = r.below(total_weight);
    int i = 0;
    while (w >= regions[i].weight)
        w -= regions[i++].weight;
    std::string code = regions[i].prefix;
    while (code.size() < 4)
        code += r.letter();
    return code;
}

/* Runway ends: most fields have one or two runways, each listed at both
 * ends; a few list a single end; the biggest have up to twenty ends. */
int descriptor_count(Random &r, bool small_fields)
{
    long k = r.below(1000);
    int runways = small_fields ? (k < 860 ? 1 : k < 970 ? 2 : k < 992 ? 3 : 4 + (int)r.below(4))
                               : (k < 600 ? 1 : k < 850 ? 2 : k < 950 ? 3 : 4 + (int)r.below(7));
    int ends = 2 * runways;
    if (r.below(20) == 0)
        ends--;
    return std::min(ends, 20);
}

/* designator_identifier_length_frequency_course: end, ILS identifier or "-", length in
 * feet, ILS frequency or 0, course. */
std::string make_descriptors(Random &r, int count, bool big)
{
    std::string out;
    int heading = 10 * (1 + (int)r.below(18));
    for (int k = 0; k < count; k++) {
        int runway = k / 2;
        int h = (heading + 10 * runway * 3 + (k % 2) * 180) % 360;
        if (h == 0)
            h = 360;
        const char *side = count > 4 ? (runway % 3 == 0 ? "L" : runway % 3 == 1 ? "R" : "C") : "";
        char d[96];
        long length = 1500 + r.below(big ? 11500 : 6000);
        if (big && r.below(3) != 0)
            snprintf(d, sizeof d, " %02d%s_I%c%c%c_%ld_%ld.%02ld_%03d", h / 10, side, r.letter(),
                     r.letter(), r.letter(), length, 108 + r.below(4), 10 + 5 * r.below(18), h);
        else
            snprintf(d, sizeof d, " %02d%s_-_%ld_0_%03d", h / 10, side, length, h);
        out += d;
    }
    return out;
}

class Output {
public:
    bool open(const std::string &path, std::string *error)
    {
        f_ = fopen(path.c_str(), "wb");
        if (!f_)
            *error = path + ": " + strerror(errno);
        return f_ != 0;
    }
    void line(const std::string &text)
    {
        fwrite(text.data(), 1, text.size(), f_);
        fwrite("\r\n", 1, 2, f_);
        bytes += (long long)text.size() + 2;
    }
    bool close(std::string *error)
    {
        bool ok = f_ && fclose(f_) == 0;
        f_ = 0;
        if (!ok)
            *error = "write failed";
        return ok;
    }
    long long bytes = 0;

private:
    FILE *f_ = 0;
};

struct Airport {
    std::string code, line;
};

const char ksea_line[] =
    "KSEA SEATTLE_TACOMA_INTL 16L_ISNQ_11901_110.30_163 16C_ISZI_9426_111.70_163 "
    "16R_IBEJ_8500_111.35_163 34L_ITNJ_8500_111.95_343 34C_ISEA_9426_110.30_343 34R_-_11901_0_343";
const char egll_line[] =
    "EGLL LONDON_HEATHROW 09L_IAA_12802_110.30_095 27R_IRR_12802_110.30_275 "
    "09R_IBB_12008_109.50_095 27L_ILL_12008_109.50_275";

std::vector<Airport> make_airports(Random &r, long wanted, bool small_fields, long *descriptors)
{
    int total_weight = 0;
    for (const Region &g : regions)
        total_weight += g.weight;
    std::unordered_set<std::string> used = {"KSEA", "EGLL"};
    std::vector<Airport> airports;
    airports.push_back({"KSEA", ksea_line});
    airports.push_back({"EGLL", egll_line});
    *descriptors = 10;
    while ((long)airports.size() < wanted) {
        std::string code;
        if (r.below(50) == 0 && airports.size() > 2) {
            /* A longer code that extends another: a second field kept under
             * its neighbour's code with a suffix. */
            code = airports[r.below((long)airports.size())].code;
            code += (char)('1' + r.below(9));
        } else {
            code = make_code(r, total_weight);
        }
        if (!used.insert(code).second)
            continue;
        int count = descriptor_count(r, small_fields);
        bool big = count >= 6;
        airports.push_back({code, code + " " + make_name(r) + make_descriptors(r, count, big)});
        *descriptors += count;
    }
    return airports;
}

void shuffle(Random &r, std::vector<Airport> &airports)
{
    for (size_t i = airports.size(); i > 1; i--)
        std::swap(airports[i - 1], airports[r.below((long)i)]);
}

}  // namespace

bool write_lookup_world(const std::string &directory, const LookupWorldSize &size,
                        LookupWorldCounts *counts, std::string *error)
{
    Random r(size.seed);
    *counts = LookupWorldCounts();
    std::vector<Airport> airports = make_airports(r, size.airports, size.small_fields, &counts->descriptors);
    /* Sorted: in the order of the quick-pick entries, whose code stands
     * right-aligned, so that shorter codes come first. */
    shuffle(r, airports);
    if (size.order == LookupWorldSize::sorted) {
        std::sort(airports.begin(), airports.end(), [](const Airport &a, const Airport &b) {
            return a.code.size() != b.code.size() ? a.code.size() < b.code.size() : a.code < b.code;
        });
    } else if (size.order == LookupWorldSize::source) {
        /* Countries in an order of their own, a random rank per prefix. */
        std::map<std::string, unsigned long> rank;
        for (const Airport &a : airports)
            rank.emplace(a.code.substr(0, 2), (unsigned long)r.below(1L << 30));
        std::stable_sort(airports.begin(), airports.end(), [&](const Airport &a, const Airport &b) {
            return rank[a.code.substr(0, 2)] < rank[b.code.substr(0, 2)];
        });
    }

    Output rwy, nav;
    if (!rwy.open(directory + "/Prwydata.txt", error))
        return false;
    for (const Airport &a : airports)
        rwy.line(a.line);
    counts->airports = (long)airports.size();
    counts->runway_bytes = rwy.bytes;
    if (!rwy.close(error) || !nav.open(directory + "/Pnavdata.txt", error))
        return false;

    /* Navaid identifiers repeat over the world, as real ones do. */
    nav.line("SEA SEATTLE VOR 116.80");
    for (long i = 1; i < size.navaids; i++) {
        bool vor = r.below(100) < 55;
        std::string ident;
        for (int k = vor || r.below(2) ? 3 : 2; k > 0; k--)
            ident += r.letter();
        char line[128];
        const char *place = places[r.below(place_count)];
        if (vor)
            snprintf(line, sizeof line, "%s %s VOR %ld.%02ld", ident.c_str(), place,
                     108 + r.below(10), 5 * r.below(20));
        else
            snprintf(line, sizeof line, "%s %s_NDB NDB %ld", ident.c_str(), place,
                     190 + r.below(1560));
        nav.line(line);
    }
    counts->navaids = size.navaids;
    counts->navaid_bytes = nav.bytes;
    return nav.close(error);
}

bool write_large_runway_file(const std::string &path, long long bytes, unsigned long seed,
                             std::string *error)
{
    Random r(seed);
    long descriptors;
    std::vector<Airport> airports = make_airports(r, 35000, false, &descriptors);
    shuffle(r, airports);
    Output out;
    if (!out.open(path, error))
        return false;
    for (long i = 0; out.bytes < bytes; i++) {
        const Airport &a = airports[(size_t)i % airports.size()];
        if (i % 50 != 49) {
            out.line(a.line);
            continue;
        }
        /* Far longer than one read: 30 descriptors, some over their room. */
        std::string line = a.line + make_descriptors(r, 20, true);
        for (int k = 0; k < 10; k++)
            line += " " + std::string(60 + (size_t)r.below(60), (char)('A' + k)) + "_X_1_110.30_090";
        out.line(line);
    }
    return out.close(error);
}
