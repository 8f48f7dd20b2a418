#include "world_gen.h"

#include <errno.h>
#include <stdarg.h>
#include <math.h>
#include <stdio.h>
#include <string.h>

#include <vector>

#include <zlib.h>

#include "../random.h"

namespace {

/* Both a plain and a compressed copy of one output. */
class Sink {
public:
    bool open(const std::string &path, bool gzip, std::string *error)
    {
        plain_ = fopen(path.c_str(), "wb");
        if (gzip)
            gz_ = gzopen((path + ".gz").c_str(), "wb6");
        if (!plain_ || (gzip && !gz_)) {
            *error = path + ": " + strerror(errno);
            return false;
        }
        return true;
    }
    void line(const char *format, ...) __attribute__((format(printf, 2, 3)));
    void blank() { line("%s", ""); }
    bool close(std::string *error)
    {
        bool ok = plain_ && fclose(plain_) == 0;
        if (gz_)
            ok = gzclose(gz_) == Z_OK && ok;
        plain_ = 0;
        gz_ = 0;
        if (!ok)
            *error = "write failed";
        return ok;
    }
    long lines = 0;

private:
    FILE *plain_ = 0;
    gzFile gz_ = 0;
};

void Sink::line(const char *format, ...)
{
    char buf[512];
    va_list args;
    va_start(args, format);
    int n = vsnprintf(buf, sizeof buf - 2, format, args);
    va_end(args);
    if (n < 0)
        return;
    if (n > (int)sizeof buf - 3)
        n = (int)sizeof buf - 3;
    buf[n++] = '\n';
    fwrite(buf, 1, (size_t)n, plain_);
    if (gz_)
        gzwrite(gz_, buf, (unsigned)n);
    lines++;
}

const double pi = 3.14159265358979323846;

struct RunwayEndPlace {
    int number;
    char side;
    double lat, lon, heading;
};

std::string code_of(long i)
{
    std::string code(4, 'A');
    for (int k = 3; k >= 0; k--, i /= 26)
        code[k] = (char)('A' + i % 26);
    return code;
}

const char *const name_words[] = {"Regional", "Municipal", "Intl", "County", "Field",
                                  "Airpark", "Z\xc3\xbcrich", "M\xc3\xa1laga", "\xc3\x85lesund",
                                  "Saint-Ex", "Lake", "Valley", "North", "Bay"};
const int name_word_count = sizeof name_words / sizeof *name_words;

}  // namespace

bool generate_world(const std::string &directory, const WorldSize &size, bool gzip,
                    WorldCounts *counts, std::string *error)
{
    Random r(size.seed);
    Sink apt, nav;
    if (!apt.open(directory + "/apt.dat", gzip, error) ||
        !nav.open(directory + "/nav.dat", gzip, error))
        return false;
    apt.line("I");
    apt.line("1200 Generated for the converter benchmark");
    nav.line("I");
    nav.line("1200 Version - generated for the converter benchmark");

    /* Heliports, one airport in twenty, have no runways. */
    const double runways_per_airport = (double)size.runways / (0.95 * (double)size.airports);
    long runway_budget = 0;
    for (long i = 0; i < size.airports; i++) {
        long kind = r.below(100);
        int header = kind < 5 ? 17 : kind < 7 ? 16 : 1;
        double lat = r.between(-60, 70), lon = r.between(-179, 179);
        std::string code = code_of(i + 26 * 26 * 26);
        std::string name = std::string(name_words[r.below(name_word_count)]) + " " +
                           name_words[r.below(name_word_count)];
        bool local_ident = r.below(10) == 0;
        apt.blank();
        apt.line("%d %ld 0 0 %s %s%s %ld", header, r.below(5000),
                 local_ident ? ("X" + std::to_string(i)).c_str() : code.c_str(),
                 r.below(40) == 0 ? "[X] " : "", name.c_str(), i);
        apt.line("1302 city Somewhere");
        apt.line("1302 datum_lat %.6f", lat);
        apt.line("1302 datum_lon %.6f", lon);
        if (local_ident && r.below(2) == 0)
            apt.line("1302 icao_code %s", code.c_str());
        counts->airports++;

        /* Runways: the asked number overall (a budget that grows with every
         * airport), a few big airports; heliports get a helipad instead. */
        long n = header == 17 ? 1 : r.below(500) == 0 ? 6 : 1 + r.below(4);
        if (header != 17) {
            runway_budget += (long)(runways_per_airport * 1000);
            if (runway_budget < n * 1000)
                n = runway_budget >= 1000 ? 1 : 0;
            runway_budget -= n * 1000;
        }
        std::vector<RunwayEndPlace> ends;
        for (long k = 0; k < n; k++) {
            if (header == 17) {
                apt.line("102 H%ld %.8f %.8f %.2f 20.00 20.00 2 0 0 0.25 0", k + 1, lat, lon,
                         r.between(0, 360));
                continue;
            }
            double heading = r.between(0, 180);
            double half = r.between(300, 2000) / 6371008.8 * 180 / pi;
            double dlat = half * cos(heading * pi / 180);
            double dlon = half * sin(heading * pi / 180) / cos(lat * pi / 180);
            double clat = lat + k * 0.003, clon = lon;
            int number = ((int)lround(heading / 10) + 35) % 36 + 1;
            int back = (number + 17) % 36 + 1;
            RunwayEndPlace a{number, 0, clat - dlat, clon - dlon, heading};
            RunwayEndPlace b{back, 0, clat + dlat, clon + dlon, fmod(heading + 180, 360)};
            if (header == 16)
                apt.line("101 30.00 1 %02dW %.8f %.8f %02dW %.8f %.8f", a.number, a.lat, a.lon,
                         b.number, b.lat, b.lon);
            else
                apt.line("100 45.00 %d 0 0.25 1 3 1 %02d %.8f %.8f 0.00 0.00 3 2 0 1 "
                         "%02d %.8f %.8f 0.00 0.00 3 2 0 1",
                         r.below(3) == 0 ? 3 : 1, a.number, a.lat, a.lon, b.number, b.lat, b.lon);
            ends.push_back(a);
            ends.push_back(b);
            counts->runways++;
        }
        long filler = size.filler_rows > 0 ? r.below(2 * size.filler_rows + 1) : 0;
        for (long k = 0; k < filler; k++) {
            switch (k % 4) {
            case 0: apt.line("111 %.8f %.8f", lat + k * 1e-5, lon); break;
            case 1: apt.line("1201 %.8f %.8f both %ld", lat, lon + k * 1e-5, k); break;
            case 2: apt.line("1202 %ld %ld twoway taxiway A", k - 1, k); break;
            default: apt.line("1300 %.8f %.8f 90.00 gate jets A%ld", lat, lon, k); break;
            }
        }

        /* One airport in six has landing systems on one or two ends. */
        if (!ends.empty() && header == 1 && !local_ident && r.below(6) == 0) {
            long count = 1 + r.below(2);
            for (long k = 0; k < count && k < (long)ends.size(); k++) {
                const RunwayEndPlace &e = ends[k];
                long frequency = 10810 + 5 * r.below(78);
                nav.line("4 %.8f %.8f 100 %ld 18 %.3f I%s%ld %s K1 %02d ILS-cat-I", e.lat, e.lon,
                         frequency, e.heading, code.substr(0, 2).c_str(), k, code.c_str(),
                         e.number);
                nav.line("6 %.8f %.8f 100 %ld 10 %.3f I%s%ld %s K1 %02d GS", e.lat, e.lon,
                         frequency, 300000 + e.heading, code.substr(0, 2).c_str(), k,
                         code.c_str(), e.number);
                counts->localizers++;
            }
        }
    }
    for (long i = 0; i < size.navaids; i++) {
        double lat = r.between(-60, 70), lon = r.between(-180, 180);
        std::string ident = code_of(i).substr(1);
        if (r.below(10) < 6) {
            long frequency = 10800 + 5 * r.below(200);
            nav.line("3 %.8f %.8f 500 %ld 130 1.000 %s ENRT K1 %s VOR-DME", lat, lon, frequency,
                     ident.c_str(), name_words[r.below(name_word_count)]);
            nav.line("12 %.8f %.8f 500 %ld 130 0.000 %s ENRT K1 %s VOR-DME DME", lat, lon,
                     frequency, ident.c_str(), name_words[r.below(name_word_count)]);
        } else {
            nav.line("2 %.8f %.8f 0 %ld 50 0.000 %s ENRT K1 %s NDB", lat, lon, 190 + r.below(1500),
                     ident.substr(1).c_str(), name_words[r.below(name_word_count)]);
        }
        counts->navaids++;
    }
    apt.line("99");
    nav.line("99");
    counts->lines = apt.lines + nav.lines;
    return apt.close(error) && nav.close(error);
}
