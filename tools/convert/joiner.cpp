#include "joiner.h"

#include <math.h>
#include <stdio.h>

#include <algorithm>

#include "common/geometry.h"
#include "common/tokens.h"

static std::string localizer_text(const Localizer &l)
{
    return "localizer " + l.ident + " (" + l.airport + " " + l.runway + ")";
}

bool LocalizerJoiner::add(const Localizer &localizer)
{
    std::vector<size_t> &same_airport = by_airport_[upper_ascii(localizer.airport)];
    const std::string runway = designator_key(localizer.runway);
    const std::string ident = upper_ascii(localizer.ident);
    for (size_t i : same_airport) {
        const Localizer &other = localizers_[i];
        if (designator_key(other.runway) == runway && upper_ascii(other.ident) == ident) {
            duplicates_++;
            report_.note(localizer.source.file, localizer.source.line,
                         localizer_text(localizer) + " repeats " + other.source.file + ":" +
                             std::to_string(other.source.line) + ": counted once");
            return false;
        }
    }
    same_airport.push_back(localizers_.size());
    localizers_.push_back(localizer);
    return true;
}

/* The localizers named to this airport that no airport has taken yet. */
std::vector<LocalizerJoiner::Named> LocalizerJoiner::named_to(const Airport &airport)
{
    std::vector<Named> found;
    std::vector<std::string> keys;
    std::vector<const std::string *> codes = {&airport.ident, &airport.icao};
    for (const std::string &alias : airport.aliases)
        codes.push_back(&alias);
    for (size_t c = 0; c < codes.size(); c++) {
        std::string key = upper_ascii(*codes[c]);
        if (key.empty() || std::find(keys.begin(), keys.end(), key) != keys.end())
            continue;
        keys.push_back(key);
        auto it = by_airport_.find(key);
        if (it == by_airport_.end())
            continue;
        for (size_t i : it->second) {
            Localizer &l = localizers_[i];
            if (l.state == Localizer::State::unseen ||
                l.state == Localizer::State::airport_skipped)
                found.push_back(Named{&l, c >= 2});
        }
    }
    return found;
}

void LocalizerJoiner::airport_skipped(const Airport &airport)
{
    for (const Named &n : named_to(airport))
        n.localizer->state = Localizer::State::airport_skipped;
}

bool knows_place(const RunwayEnd &end)
{
    return end.has_position && end.has_far_end && end.heading >= 0;
}

namespace {

/* Where a localizer stands from a runway end whose place is known. */
struct Placement {
    double bearing_off;                 /* degrees between its bearing and the end's heading */
    double along;                       /* metres beyond the far end (negative: before it) */
    double across;                      /* metres abeam of the centre line */
    double threshold;                   /* the end's own threshold along the same line */
};

Placement placement(const Localizer &l, const RunwayEnd &end)
{
    Placement p;
    p.bearing_off = bearing_difference(l.bearing, end.heading);
    const double pi = 3.14159265358979323846;
    const double h = end.heading * pi / 180;
    double east, north;
    local_offset(end.far_latitude, end.far_longitude, l.latitude, l.longitude, &east, &north);
    p.along = east * sin(h) + north * cos(h);
    p.across = fabs(east * cos(h) - north * sin(h));
    local_offset(end.far_latitude, end.far_longitude, end.latitude, end.longitude, &east, &north);
    p.threshold = std::min(east * sin(h) + north * cos(h), 0.0);
    return p;
}

}  // namespace

double localizer_fit(const Localizer &l, const RunwayEnd &end, FitTest test)
{
    if (!knows_place(end))
        return -1;
    const Placement p = placement(l, end);
    bool fits;
    if (test == FitTest::named)
        fits = p.bearing_off <= LocalizerJoiner::named_bearing_degrees &&
               p.across <= LocalizerJoiner::named_abeam_m &&
               p.along >= p.threshold - LocalizerJoiner::named_beyond_m &&
               p.along <= LocalizerJoiner::named_beyond_m;
    else
        fits = p.bearing_off <= LocalizerJoiner::place_bearing_degrees &&
               p.across <= LocalizerJoiner::place_lateral_m &&
               p.along >= -LocalizerJoiner::place_before_m &&
               p.along <= LocalizerJoiner::place_beyond_m;
    return fits ? p.across + 100 * p.bearing_off : -1;
}

namespace {

/* A localizer on the end it serves, and how it got there. */
struct Served {
    Localizer *localizer;
    bool by_place;
};

/* True when a serves a runway end better than b (b read later). */
bool better_localizer(const Served &a, const Served &b, double heading)
{
    if (a.localizer->joined_by_source != b.localizer->joined_by_source)
        return a.localizer->joined_by_source;
    if (a.by_place != b.by_place)
        return !a.by_place;
    if (a.localizer->with_glide_slope != b.localizer->with_glide_slope)
        return a.localizer->with_glide_slope;
    if (heading >= 0) {
        double da = bearing_difference(a.localizer->bearing, heading);
        double db = bearing_difference(b.localizer->bearing, heading);
        if (da != db)
            return da < db;
    }
    return true;
}

/* The end that fits best by one test, among the ends of one designator or
 * (empty designator) all; -1 when none fits. */
int best_fit(const Localizer &l, const std::vector<RunwayEnd> &ends, FitTest test,
             const std::string &designator)
{
    int best = -1;
    double best_fit = 0;
    for (size_t e = 0; e < ends.size(); e++) {
        if (!designator.empty() && designator_key(ends[e].designator) != designator)
            continue;
        double fit = localizer_fit(l, ends[e], test);
        if (fit >= 0 && (best < 0 || fit < best_fit)) {
            best = (int)e;
            best_fit = fit;
        }
    }
    return best;
}

/* The end a localizer serves, or -1: the end it is named to where it fits
 * there (or the place is unknown), else the end it fits by place. */
int end_served(const Localizer &l, const std::vector<RunwayEnd> &ends, bool *by_place)
{
    *by_place = false;
    const std::string runway = designator_key(l.runway);
    if (l.joined_by_source) {
        for (size_t k = 0; k < ends.size(); k++)
            if (designator_key(ends[k].designator) == runway)
                return (int)k;
        return -1;
    }
    int e = best_fit(l, ends, FitTest::named, runway);
    if (e >= 0)
        return e;
    for (size_t k = 0; k < ends.size(); k++)
        if (designator_key(ends[k].designator) == runway && !knows_place(ends[k]))
            return (int)k;
    *by_place = true;
    return best_fit(l, ends, FitTest::place, std::string());
}

/* The ends an airport has and, for the ends of the localizer's own
 * designator, why it does not fit them. */
std::string what_it_has(const Localizer &l, const std::vector<RunwayEnd> &ends)
{
    std::string have, why;
    for (const RunwayEnd &end : ends) {
        have += (have.empty() ? "" : " ") + end.designator;
        if (designator_key(end.designator) != designator_key(l.runway) || !knows_place(end))
            continue;
        const Placement p = placement(l, end);
        char text[160];
        snprintf(text, sizeof text,
                 "; its %s: bearing %.0f degrees off, antenna %.0f m abeam and %.0f m %s "
                 "the far end",
                 end.designator.c_str(), p.bearing_off, p.across, fabs(p.along),
                 p.along < 0 ? "short of" : "beyond");
        why += text;
    }
    return "it has: " + (have.empty() ? std::string("none") : have) + why;
}

}  // namespace

void LocalizerJoiner::join(const Airport &airport, std::vector<RunwayEnd> &ends)
{
    std::vector<std::vector<Served>> serving(ends.size());
    for (const Named &n : named_to(airport)) {
        Localizer *l = n.localizer;
        bool by_place;
        int e = end_served(*l, ends, &by_place);
        if (e >= 0) {
            serving[e].push_back(Served{l, by_place});
            continue;
        }
        if (n.by_alias) {               /* perhaps another airport's: left for it */
            fitting_no_alias_.emplace(l, airport.ident);
            continue;
        }
        l->state = Localizer::State::no_runway;
        report_.note(l->source.file, l->source.line,
                     localizer_text(*l) + " serves no runway end of " + airport.ident +
                         " by place or designator (" + what_it_has(*l, ends) + ")");
    }
    for (size_t e = 0; e < ends.size(); e++) {
        if (serving[e].empty())
            continue;
        const double heading = ends[e].heading >= 0 ? ends[e].heading : -1;
        const Served *best = &serving[e][0];
        for (size_t k = 1; k < serving[e].size(); k++)
            if (!better_localizer(*best, serving[e][k], heading))
                best = &serving[e][k];
        Localizer *chosen = best->localizer;
        chosen->state = Localizer::State::joined;
        ends[e].localizer = chosen;
        if (best->by_place) {
            joined_by_place_++;
            report_.note(chosen->source.file, chosen->source.line,
                         localizer_text(*chosen) + " serves runway " + ends[e].designator +
                             " by its place: it fits no end " + chosen->runway +
                             " (renumbered?)");
        }
        for (const Served &s : serving[e]) {
            if (s.localizer == chosen)
                continue;
            s.localizer->state = Localizer::State::spare;
            report_.note(s.localizer->source.file, s.localizer->source.line,
                         localizer_text(*s.localizer) + " not written: " + chosen->ident +
                             " serves that runway end");
        }
    }
}

void LocalizerJoiner::finish()
{
    for (Localizer &l : localizers_) {
        if (l.state != Localizer::State::unseen)
            continue;
        auto alias = fitting_no_alias_.find(&l);
        if (alias != fitting_no_alias_.end())
            report_.note(l.source.file, l.source.line,
                         localizer_text(l) + ": no airport " + l.airport +
                             " but one known also by that code, " + alias->second +
                             ", whose runway ends it does not fit");
        else
            report_.note(l.source.file, l.source.line,
                         localizer_text(l) + ": no airport " + l.airport + " in the airport data");
    }
}

long LocalizerJoiner::count(Localizer::State state) const
{
    return (long)std::count_if(localizers_.begin(), localizers_.end(),
                               [state](const Localizer &l) { return l.state == state; });
}
