#include "scenery.h"

#include <math.h>
#include <stdio.h>

#include <algorithm>

#include "common/file_ops.h"
#include "common/geometry.h"
#include "common/line_reader.h"
#include "common/tokens.h"
#include "convert/magnetic.h"
#include "sim_folders.h"
#include "surfaces.h"
#include "common/paths.h"

using paths::is_absolute;
using paths::is_folder;
using paths::is_separator;
using paths::join;
using paths::separator;

/* ---- Courses and designators ---- */

int simulator_course(double true_heading, double stored_variation)
{
    /* magnetic = true + west variation; an east one is stored as 360 - east */
    double course = bgl_magnetic_course(true_heading, stored_variation);
    if (!isfinite(course))
        return 0;
    int whole = (int)floor(course + 0.5);
    return whole <= 0 || whole > 360 ? 360 : whole;
}

std::string runway_designator(int number, int designator)
{
    static const char *const compass_points[] = {"N", "NE", "E", "SE", "S", "SW", "W", "NW"};
    if (number >= 37 && number <= 44)
        return compass_points[number - 37];
    if (number < 1 || number > 36)
        return std::string();
    char text[8];
    static const char *const letters[] = {"", "L", "R", "C", "W"};
    snprintf(text, sizeof text, "%02d%s", number,
             designator >= 0 && designator <= 4 ? letters[designator] : "");
    return text;
}

/* ---- Layers ---- */

static std::string offset_text(const std::string &file, long offset)
{
    return offset >= 0 ? file + ": offset " + std::to_string(offset) : file;
}

void SceneryLayers::begin_area(const SceneryArea &area) { area_ = area; }

SceneryLayers::Place SceneryLayers::place_of(long offset) const
{
    Place p;
    p.path = file_;
    p.file = offset_text(file_, offset);
    p.layer = area_.layer;
    p.area = area_.number;
    p.order = file_order_;
    return p;
}

bool SceneryLayers::same_layer(const Place &a, const Place &b) const
{
    return a.layer == b.layer;
}

void SceneryLayers::repeated(const Place &below, const Place &above, const std::string &what)
{
    if (!same_layer(below, above))
        return;
    counts_.same_layer_repeats++;
    report_.note(above.file, -1,
                 what + " again in the same layer (" + std::to_string(above.layer) + ", first in " +
                     below.file + "): this later one is taken");
}

/* The stored variation into [0, 360); one that is no variation is
 * reported and taken as 0. */
double SceneryLayers::variation(double stored, const Place &place, const std::string &what)
{
    if (!isfinite(stored) || stored < -360 || stored > 360) {
        char text[64];
        snprintf(text, sizeof text, "%g", stored);
        report_.note(place.file, -1, what + ": magnetic variation " + text +
                                         " is no variation: 0 is used");
        return 0;
    }
    double v = fmod(stored, 360.0);
    return v < 0 ? v + 360.0 : v;
}

static bool same_runway(const BglRunway &r, const BglDeletion::Runway &d)
{
    return r.primary_number == d.primary_number && r.secondary_number == d.secondary_number &&
           r.primary_designator == d.primary_designator &&
           r.secondary_designator == d.secondary_designator;
}

void SceneryLayers::take_airport(BglAirport &airport)
{
    const std::string key = upper_ascii(airport.ident);
    if (key.empty())
        return;
    Place place = place_of(airport.offset);
    auto found = airport_index_.find(key);
    if (found == airport_index_.end()) {
        airport_index_.emplace(key, airports_.size());
        airports_.push_back(KeptAirport{std::move(airport), place});
        counts_.airports++;
        return;
    }
    KeptAirport &below = airports_[found->second];
    repeated(below.place, place, "airport " + key);
    counts_.airports_replaced++;
    if (!airport.deletions.empty())
        counts_.airports_deleting++;
    if (airport.runways.empty() && !below.record.runways.empty()) {
        /* An upper record without runways: the simulator's behaviour is
         * not documented; the runways below stay, less what its
         * DeleteAirport removes. */
        std::vector<BglRunway> kept;
        bool all = false;
        for (const BglDeletion &d : airport.deletions)
            all = all || (d.flags & bgl_delete_all_runways) != 0;
        if (!all)
            for (const BglRunway &r : below.record.runways) {
                bool deleted = false;
                for (const BglDeletion &d : airport.deletions)
                    for (const BglDeletion::Runway &dr : d.runways)
                        deleted = deleted || same_runway(r, dr);
                if (!deleted)
                    kept.push_back(r);
            }
        if (airport.deletions.empty()) {
            counts_.runways_kept_from_below++;
            report_.note(place.file, -1,
                         "airport " + key + " has no runways here and deletes none: the " +
                             std::to_string(kept.size()) + " runways of " + below.place.file +
                             " are kept");
        }
        airport.runways = std::move(kept);
    }
    below.record = std::move(airport);
    below.place = place;
}

static double arc_degrees(double lat1, double lon1, double lat2, double lon2)
{
    const double pi = 3.14159265358979323846;
    double dlon = fabs(lon1 - lon2);
    if (dlon > 180)
        dlon = 360 - dlon;
    double dlat = lat1 - lat2;
    double east = dlon * cos((lat1 + lat2) / 2 * pi / 180);
    return sqrt(dlat * dlat + east * east);
}

void SceneryLayers::take_vor_ils(BglVorIls &record)
{
    Place place = place_of(record.offset);
    const std::string ident = upper_ascii(record.ident);
    if (record.type == BglVorIls::ils) {
        const std::string key = ident + "/" + upper_ascii(record.airport);
        auto found = ils_index_.find(key);
        if (found == ils_index_.end()) {
            ils_index_.emplace(key, ils_.size());
            ils_.push_back(KeptVor{std::move(record), place});
            counts_.ils++;
            return;
        }
        KeptVor &below = ils_[found->second];
        repeated(below.place, place, "ILS " + ident);
        counts_.ils_replaced++;
        below = KeptVor{std::move(record), place};
        return;
    }
    std::vector<size_t> &same = vor_index_[ident + "/" + upper_ascii(record.region)];
    for (size_t i : same) {
        KeptVor &below = vors_[i];
        if (arc_degrees(below.record.latitude, below.record.longitude, record.latitude,
                        record.longitude) > navaid_same_place_degrees)
            continue;
        repeated(below.place, place, "VOR " + ident);
        counts_.vors_replaced++;
        below = KeptVor{std::move(record), place};
        return;
    }
    if (same.size() >= navaid_same_ident_room) {
        /* Real data holds a handful of stations of one identifier and
         * region; a file that holds thousands is damaged or made to be
         * slow, and each one more would be compared with all of them. */
        report_.note(place.file, -1, "VOR " + ident + ": more than " +
                                         std::to_string(navaid_same_ident_room) +
                                         " stations of this identifier and region: left out");
        return;
    }
    same.push_back(vors_.size());
    vors_.push_back(KeptVor{std::move(record), place});
    counts_.vors++;
}

void SceneryLayers::take_ndb(BglNdb &record)
{
    Place place = place_of(record.offset);
    const std::string ident = upper_ascii(record.ident);
    std::vector<size_t> &same = ndb_index_[ident + "/" + upper_ascii(record.region)];
    for (size_t i : same) {
        KeptNdb &below = ndbs_[i];
        if (arc_degrees(below.record.latitude, below.record.longitude, record.latitude,
                        record.longitude) > navaid_same_place_degrees)
            continue;
        repeated(below.place, place, "NDB " + ident);
        counts_.ndbs_replaced++;
        below = KeptNdb{std::move(record), place};
        return;
    }
    if (same.size() >= navaid_same_ident_room) {
        /* Real data holds a handful of stations of one identifier and
         * region; a file that holds thousands is damaged or made to be
         * slow, and each one more would be compared with all of them. */
        report_.note(place.file, -1, "NDB " + ident + ": more than " +
                                         std::to_string(navaid_same_ident_room) +
                                         " stations of this identifier and region: left out");
        return;
    }
    same.push_back(ndbs_.size());
    ndbs_.push_back(KeptNdb{std::move(record), place});
    counts_.ndbs++;
}

void SceneryLayers::add_file(const std::string &path, BglFile &file)
{
    file_ = path;
    file_order_++;
    for (BglAirport &a : file.airports)
        take_airport(a);
    for (BglVorIls &v : file.vor_ils)
        take_vor_ils(v);
    for (BglNdb &n : file.ndbs)
        take_ndb(n);
    file = BglFile();
}

/* ---- To the converter ---- */

namespace {

/* A runway end of the resolved world, with what it was made from. */
struct EndOf {
    size_t runway;
    bool primary;
    std::string designator;
    std::string ils_ident;              /* as the runway names it */
    double heading;                     /* true */
    int ils = -1;                       /* index into the ILS list, -1 none */
};

SurfaceKind bgl_surface(int code)
{
    switch (code) {
    case 0x00: case 0x04: case 0x10: case 0x11: case 0x12: case 0x13: case 0x14: case 0x17:
        return SurfaceKind::hard;
    case 0x02:
        return SurfaceKind::water;
    case 0xFE:
        return SurfaceKind::unknown;
    default:
        return SurfaceKind::soft;
    }
}

long mhz_hundredths(unsigned long hz) { return (long)((hz + 5000) / 10000); }

}  // namespace

void SceneryLayers::hand_to(Converter &converter)
{
    /* The landing systems of each airport, by airport. */
    std::unordered_map<std::string, std::vector<size_t>> ils_of;
    for (size_t i = 0; i < ils_.size(); i++)
        ils_of[upper_ascii(ils_[i].record.airport)].push_back(i);
    std::vector<bool> ils_taken(ils_.size(), false);

    std::vector<Airport> airports;
    airports.reserve(airports_.size());
    for (KeptAirport &kept : airports_) {
        const BglAirport &a = kept.record;
        const std::string code = upper_ascii(a.ident);
        Airport out;
        out.ident = a.ident;
        out.name = a.name;
        out.has_position = true;
        out.latitude = a.latitude;
        out.longitude = a.longitude;
        out.source = SourceLine{kept.place.file, -1};
        const double airport_v = variation(a.magnetic_variation, kept.place, "airport " + code);

        std::vector<EndOf> ends;
        bool all_water = !a.runways.empty();
        for (size_t r = 0; r < a.runways.size(); r++) {
            const BglRunway &rw = a.runways[r];
            SurfaceKind kind = bgl_surface(rw.surface);
            if (kind == SurfaceKind::hard)
                out.has_hard_runway = true;
            if (kind != SurfaceKind::water)
                all_water = false;
            std::string first = runway_designator(rw.primary_number, rw.primary_designator);
            std::string second = runway_designator(rw.secondary_number, rw.secondary_designator);
            if (first.empty() || second.empty()) {
                counts_.runways_unreadable++;
                report_.note(offset_text(kept.place.path, rw.offset), -1,
                             "airport " + code + ": runway numbers " +
                                 std::to_string(rw.primary_number) + "/" +
                                 std::to_string(rw.secondary_number) +
                                 " are no runway designators: left out");
                continue;
            }
            ends.push_back(EndOf{r, true, first, upper_ascii(rw.primary_ils), fmod(rw.heading, 360.0)});
            ends.push_back(EndOf{r, false, second, upper_ascii(rw.secondary_ils),
                                 fmod(rw.heading + 180.0, 360.0)});
        }
        out.kind = a.runways.empty() && a.helipads > 0 ? AirportKind::heliport
                   : all_water                         ? AirportKind::seaplane_base
                                                       : AirportKind::land;

        /* 1. The ILS each end names, of this airport. */
        std::vector<size_t> &mine = ils_of[code];
        for (EndOf &e : ends) {
            if (e.ils_ident.empty())
                continue;
            for (size_t i : mine)
                if (upper_ascii(ils_[i].record.ident) == e.ils_ident) {
                    e.ils = (int)i;
                    break;
                }
            if (e.ils < 0)
                report_.note(kept.place.file, -1,
                             "airport " + code + " runway " + e.designator + " names ILS " +
                                 e.ils_ident + ", which is no VOR/ILS record of " + code +
                                 ": written without one");
        }
        /* An ILS named by both ends of a runway serves the one it points
         * along. */
        for (size_t i = 0; i < ends.size(); i++)
            for (size_t j = i + 1; j < ends.size() && ends[i].ils >= 0; j++) {
                if (ends[j].ils != ends[i].ils)
                    continue;
                const BglVorIls &l = ils_[ends[i].ils].record;
                double heading = l.has_localizer ? l.localizer_heading : ends[i].heading;
                bool first_wins = bearing_difference(heading, ends[i].heading) <=
                                  bearing_difference(heading, ends[j].heading);
                EndOf &winner = first_wins ? ends[i] : ends[j];
                EndOf &loser = first_wins ? ends[j] : ends[i];
                report_.note(kept.place.file, -1,
                             "airport " + code + " runway " + loser.designator + " names ILS " +
                                 loser.ils_ident + ", which serves its runway " +
                                 winner.designator + ": written without one");
                loser.ils = -1;
            }
        for (EndOf &e : ends)
            if (e.ils >= 0) {
                ils_taken[e.ils] = true;
                counts_.ils_joined_by_ident++;
            }
        /* 2. Ends without one: an ILS of this airport whose localizer
         * names the end. */
        for (size_t i : mine) {
            const BglVorIls &l = ils_[i].record;
            if (ils_taken[i] || !l.has_localizer || l.localizer_runway_number == 0)
                continue;
            std::string named =
                runway_designator(l.localizer_runway_number, l.localizer_runway_designator);
            for (EndOf &e : ends)
                if (e.ils < 0 && e.designator == named) {
                    e.ils = (int)i;
                    ils_taken[i] = true;
                    counts_.ils_joined_by_runway++;
                    break;
                }
        }

        for (const EndOf &e : ends) {
            const BglRunway &rw = a.runways[e.runway];
            RunwayEnd end;
            end.designator = e.designator;
            end.heading = e.heading < 0 ? e.heading + 360.0 : e.heading;
            /* A length past any runway is taken as unknown (and kept from the cast). */
            end.length_ft = rw.length_m > 0 && rw.length_m < 100000
                                ? (long)(rw.length_m / 0.3048 + 0.5)
                                : -1;
            if (e.ils >= 0) {
                KeptVor &k = ils_[e.ils];
                const BglVorIls &l = k.record;
                double v = variation(l.magnetic_variation, k.place, "ILS " + l.ident);
                double heading = l.has_localizer ? l.localizer_heading : end.heading;
                end.source_course = simulator_course(heading, v);
                Localizer loc;
                loc.airport = a.ident;
                loc.runway = e.designator;
                loc.ident = l.ident;
                loc.frequency = mhz_hundredths(l.frequency_hz);
                loc.bearing = fmod(heading < 0 ? heading + 360.0 : heading, 360.0);
                loc.latitude = l.latitude;
                loc.longitude = l.longitude;
                loc.with_glide_slope = l.has_glide_slope;
                loc.source = SourceLine{k.place.file, -1};
                loc.joined_by_source = true;
                converter.add_localizer(loc);
            } else {
                end.source_course = simulator_course(end.heading, airport_v);
            }
            out.ends.push_back(end);
        }
        airports.push_back(std::move(out));
    }

    /* ILS records that serve no runway end. */
    for (size_t i = 0; i < ils_.size(); i++) {
        if (ils_taken[i])
            continue;
        const BglVorIls &l = ils_[i].record;
        counts_.ils_joining_none++;
        const std::string airport = upper_ascii(l.airport);
        std::string why;
        if (airport.empty())
            why = "it names no airport";
        else if (airport_index_.find(airport) == airport_index_.end())
            why = "no airport " + airport + " in the scenery";
        else
            why = "no runway end of " + airport + " names it" +
                  (l.has_localizer && l.localizer_runway_number != 0
                       ? ", and its localizer's runway " +
                             runway_designator(l.localizer_runway_number,
                                               l.localizer_runway_designator) +
                             " has another or is not there"
                       : std::string(", and its localizer names no runway"));
        report_.note(ils_[i].place.file, -1, "ILS " + l.ident + " joins no runway end: " + why);
    }

    for (const Airport &a : airports)
        converter.add_airport(a);

    for (const KeptVor &k : vors_) {
        const BglVorIls &v = k.record;
        if (v.type < BglVorIls::terminal || v.type > BglVorIls::high || v.dme_only()) {
            converter.skip_navaid_type();
            continue;
        }
        Navaid n;
        n.ident = v.ident;
        n.name = v.name;
        n.vor = true;
        n.frequency = mhz_hundredths(v.frequency_hz);
        n.latitude = v.latitude;
        n.longitude = v.longitude;
        n.source = SourceLine{k.place.file, -1};
        converter.add_navaid(n);
    }
    for (const KeptNdb &k : ndbs_) {
        const BglNdb &b = k.record;
        Navaid n;
        n.ident = b.ident;
        n.name = b.name;
        n.vor = false;
        /* Hz in the files measured; kHz accepted as some documents give it. */
        n.frequency = b.frequency >= 100000 ? (long)((b.frequency + 500) / 1000) : (long)b.frequency;
        n.latitude = b.latitude;
        n.longitude = b.longitude;
        n.source = SourceLine{k.place.file, -1};
        converter.add_navaid(n);
    }
}

/* ---- The library's files ---- */






/* An area's folder as it is on the disk: as resolved, else its parts in
 * any letter case; "" when it is not there. */
static std::string area_folder(const SceneryArea &area, const std::string &sim_dir)
{
    if (is_folder(area.folder))
        return area.folder;
    std::string found;
    if (!is_absolute(area.local))
        found = path_in_any_case(sim_dir, area.local);
    else if (is_separator(area.folder[0]))
        found = path_in_any_case(std::string(1, separator), area.folder.substr(1));
    return !found.empty() && is_folder(found) ? found : std::string();
}

/* The BGL files of an area, <folder>\scenery\NAME.bgl in any case, sorted by
 * name (letter case aside, then as written). */
static std::vector<std::string> area_files(const std::string &folder)
{
    std::vector<std::string> files;
    std::string scenery;
    for (const std::string &entry : file_ops::list_directory(folder))
        if (upper_ascii(entry) == "SCENERY" && is_folder(join(folder, entry)) &&
            (scenery.empty() || entry == "scenery"))
            scenery = entry;
    if (scenery.empty())
        return files;
    std::vector<std::string> names;
    for (const std::string &entry : file_ops::list_directory(join(folder, scenery))) {
        std::string upper = upper_ascii(entry);
        if (upper.size() > 4 && upper.compare(upper.size() - 4, 4, ".BGL") == 0 &&
            file_ops::kind_of(join(join(folder, scenery), entry)) == file_ops::Kind::file)
            names.push_back(entry);
    }
    std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
        std::string ua = upper_ascii(a), ub = upper_ascii(b);
        return ua != ub ? ua < ub : a < b;
    });
    for (const std::string &name : names)
        files.push_back(join(join(folder, scenery), name));
    return files;
}

static std::string area_name(const SceneryArea &area)
{
    char number[16];
    snprintf(number, sizeof number, "%03d", area.number);
    return std::string("Area.") + number + (area.title.empty() ? "" : " '" + area.title + "'");
}

namespace {

struct FileCounts {
    long listed = 0, read = 0, older = 0, with_later = 0, later_records = 0, with_problems = 0;
    long not_bgl = 0, unreadable = 0;
};

struct AreaFiles {
    SceneryArea area;
    std::string folder;                 /* as found on the disk */
    std::vector<std::string> files;
};

}  // namespace

/* How many older-format files are named one by one: a 2004 release holds
 * thousands (its terrain), which the count says well enough. */
static const long older_named = 5;

bool read_scenery(const std::string &sim_dir, const std::string &cfg_path, Converter &converter,
                  Report &report, ReadOutcome *outcome, std::string *summary)
{
    summary->clear();
    std::string cfg = cfg_path;
    if (!is_folder(sim_dir)) {
        outcome->fatal = "--scenery " + sim_dir + ": no such folder";
        return false;
    }
    if (cfg.empty()) {
        std::vector<std::string> looked;
        cfg = find_scenery_cfg(sim_dir, &looked);
        if (cfg.empty()) {
            std::string where;
            for (const std::string &path : looked)
                where += (where.empty() ? "" : ", ") + path;
            outcome->fatal = sim_dir + " holds no scenery library: no scenery.cfg (looked for " +
                             where + "; --scenery-cfg names one elsewhere)";
            return false;
        }
    }
    SceneryLibrary library;
    std::string error;
    if (!read_scenery_cfg(cfg, sim_dir, &library, &error)) {
        outcome->fatal = error;
        return false;
    }
    for (const std::string &problem : library.problems)
        report.error(problem);

    /* The simulator's order: Layer, then the area's number. */
    std::vector<SceneryArea> active;
    std::string inactive_text, missing_text;
    long inactive = 0, missing = 0, without_files = 0;
    for (const SceneryArea &a : library.areas) {
        if (a.active) {
            active.push_back(a);
        } else {
            inactive++;
            inactive_text += "\n  inactive, skipped: " + area_name(a);
        }
    }
    std::stable_sort(active.begin(), active.end(), [](const SceneryArea &a, const SceneryArea &b) {
        return a.layer != b.layer ? a.layer < b.layer : a.number < b.number;
    });
    std::vector<AreaFiles> areas;
    FileCounts files;
    for (const SceneryArea &a : active) {
        std::string folder = area_folder(a, sim_dir);
        if (folder.empty()) {
            missing++;
            missing_text += "\n  missing, skipped: " + area_name(a) + ": no folder " + a.folder;
            continue;
        }
        AreaFiles af{a, folder, area_files(folder)};
        if (af.files.empty())
            without_files++;
        files.listed += (long)af.files.size();
        areas.push_back(std::move(af));
    }

    SceneryLayers layers(report);
    std::string areas_text;
    long done = 0, older_extra = 0;
    for (const AreaFiles &af : areas) {
        layers.begin_area(af.area);
        long area_read = 0;
        for (const std::string &path : af.files) {
            BglFile file;
            read_bgl_file(path, &file);
            for (const BglProblem &p : file.problems)
                report.error(offset_text(path, p.offset), -1, p.what);
            switch (file.kind) {
            case BglKind::sectioned:
                files.read++;
                area_read++;
                if (!file.problems.empty())
                    files.with_problems++;
                if (file.later_records > 0) {
                    files.with_later++;
                    files.later_records += file.later_records;
                    report.note(path, -1,
                                std::to_string(file.later_records) +
                                    " records of a later simulator's form: not read");
                }
                layers.add_file(path, file);
                break;
            case BglKind::older_format:
                if (++files.older <= older_named)
                    report.note(path, -1, "an older, unsectioned BGL file: not read");
                else
                    older_extra++;
                break;
            case BglKind::not_bgl:
                files.not_bgl++;
                files.with_problems++;
                if (file.problems.empty())
                    report.error(path, -1, "not a BGL file: skipped");
                break;
            case BglKind::unreadable:
                files.unreadable++;
                files.with_problems++;
                if (file.problems.empty())
                    report.error(path, -1, "could not be read: skipped");
                break;
            }
            done++;
            report.progress(base_name(path), (double)done / (double)files.listed);
            if (report.stopped() || report.poll_stop())
                return false;
        }
        areas_text += "\n  layer " + std::to_string(af.area.layer) + " " + area_name(af.area) +
                      " (" + af.folder + "): " + std::to_string(area_read) + " of " + std::to_string(af.files.size()) +
                      " BGL files read";
    }
    report.end_progress();
    if (older_extra > 0)
        report.note(cfg, -1, "and " + std::to_string(older_extra) +
                                 " more older, unsectioned BGL files: not read");

    const LayerCounts &c = layers.counts();
    char text[600];
    snprintf(text, sizeof text,
             "scenery library %s: areas %ld listed, %ld read, %ld inactive, %ld missing, %ld "
             "without BGL files",
             cfg.c_str(), (long)library.areas.size(), (long)areas.size(), inactive, missing,
             without_files);
    *summary = text;
    *summary += areas_text + inactive_text + missing_text;
    snprintf(text, sizeof text,
             "\nBGL files: %ld; read %ld, older format not read %ld, later record forms not read "
             "%ld (%ld records), with problems %ld (not a BGL %ld, unreadable %ld)",
             files.listed, files.read, files.older, files.with_later, files.later_records,
             files.with_problems, files.not_bgl, files.unreadable);
    *summary += text;
    if (files.read == 0) {
        outcome->fatal = "no BGL file of the scenery library could be read (" +
                         std::to_string(files.listed) + " found" +
                         (files.older > 0 ? ", " + std::to_string(files.older) +
                                                " of an older format this converter does not read"
                                          : std::string()) +
                         ")";
        return false;
    }

    layers.hand_to(converter);
    const LayerCounts &d = layers.counts();
    snprintf(text, sizeof text,
             "\nlayers: airports %ld (replaced from a layer above %ld, keeping the runways below "
             "%ld, with a DeleteAirport %ld), VORs and DMEs %ld (replaced %ld), NDBs %ld "
             "(replaced %ld), ILS %ld (replaced %ld); repeats within one layer %ld"
             "\nILS: joined by the runway end's identifier %ld, by the localizer's runway %ld; "
             "joining no runway end %ld",
             c.airports, c.airports_replaced, c.runways_kept_from_below, c.airports_deleting,
             c.vors, c.vors_replaced, c.ndbs, c.ndbs_replaced, c.ils, c.ils_replaced,
             c.same_layer_repeats, d.ils_joined_by_ident, d.ils_joined_by_runway,
             d.ils_joining_none);
    *summary += text;
    if (d.runways_unreadable > 0)
        *summary += "\nrunways left out, numbers no designator: " +
                    std::to_string(d.runways_unreadable);
    return true;
}
