#include "joiner.h"

#include <math.h>

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
std::vector<Localizer *> LocalizerJoiner::named_to(const Airport &airport)
{
    std::vector<Localizer *> found;
    std::vector<std::string> keys;
    for (const std::string *id : {&airport.ident, &airport.icao}) {
        std::string key = upper_ascii(*id);
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
                found.push_back(&l);
        }
    }
    return found;
}

void LocalizerJoiner::airport_skipped(const Airport &airport)
{
    for (Localizer *l : named_to(airport))
        l->state = Localizer::State::airport_skipped;
}

double localizer_fit(const Localizer &l, const RunwayEnd &end, bool offset)
{
    if (!end.has_position || !end.has_far_end || end.heading < 0)
        return -1;
    double bearing_off = bearing_difference(l.bearing, end.heading);
    if (bearing_off > (offset ? LocalizerJoiner::offset_bearing_degrees
                              : LocalizerJoiner::place_bearing_degrees))
        return -1;
    /* The antenna from the far end, along the landing direction and across. */
    double east, north;
    local_offset(end.far_latitude, end.far_longitude, l.latitude, l.longitude, &east, &north);
    const double pi = 3.14159265358979323846;
    double h = end.heading * pi / 180;
    double along = east * sin(h) + north * cos(h);
    double across = fabs(east * cos(h) - north * sin(h));
    if (along < -LocalizerJoiner::place_before_m || along > LocalizerJoiner::place_beyond_m)
        return -1;
    if (across > (offset ? LocalizerJoiner::offset_lateral_m : LocalizerJoiner::place_lateral_m))
        return -1;
    return across + 100 * bearing_off;
}

/* True when a serves a runway end better than b (b read later). */
static bool better_localizer(const Localizer &a, const Localizer &b, double heading)
{
    if (a.with_glide_slope != b.with_glide_slope)
        return a.with_glide_slope;
    if (heading >= 0) {
        double da = bearing_difference(a.bearing, heading);
        double db = bearing_difference(b.bearing, heading);
        if (da != db)
            return da < db;
    }
    return true;
}

/* The end a localizer serves, or -1: by place first, then by designator
 * where the place cannot tell or allows an offset localizer. */
static int end_served(const Localizer &l, const std::vector<RunwayEnd> &ends)
{
    int best = -1;
    double best_fit = 0;
    for (size_t e = 0; e < ends.size(); e++) {
        double fit = localizer_fit(l, ends[e], false);
        if (fit >= 0 && (best < 0 || fit < best_fit)) {
            best = (int)e;
            best_fit = fit;
        }
    }
    if (best >= 0)
        return best;
    const std::string runway = designator_key(l.runway);
    for (size_t e = 0; e < ends.size(); e++) {
        if (designator_key(ends[e].designator) != runway)
            continue;
        if (!ends[e].has_position || !ends[e].has_far_end || localizer_fit(l, ends[e], true) >= 0)
            return (int)e;
    }
    return -1;
}

void LocalizerJoiner::join(const Airport &airport, std::vector<RunwayEnd> &ends)
{
    std::vector<std::vector<Localizer *>> serving(ends.size());
    for (Localizer *l : named_to(airport)) {
        int e = end_served(*l, ends);
        if (e < 0) {
            l->state = Localizer::State::no_runway;
            std::string have;
            for (const RunwayEnd &end : ends)
                have += (have.empty() ? "" : " ") + end.designator;
            report_.note(l->source.file, l->source.line,
                         localizer_text(*l) + " serves no runway end of " + airport.ident +
                             " by place or designator (it has: " +
                             (have.empty() ? "none" : have) + ")");
            continue;
        }
        serving[e].push_back(l);
    }
    for (size_t e = 0; e < ends.size(); e++) {
        if (serving[e].empty())
            continue;
        const double heading = ends[e].heading >= 0 ? ends[e].heading : -1;
        Localizer *best = serving[e][0];
        for (size_t k = 1; k < serving[e].size(); k++)
            if (!better_localizer(*best, *serving[e][k], heading))
                best = serving[e][k];
        best->state = Localizer::State::joined;
        ends[e].localizer = best;
        if (designator_key(best->runway) != designator_key(ends[e].designator))
            report_.note(best->source.file, best->source.line,
                         localizer_text(*best) + " serves runway " + ends[e].designator +
                             " by its place (renumbered?)");
        for (Localizer *l : serving[e]) {
            if (l == best)
                continue;
            l->state = Localizer::State::spare;
            report_.note(l->source.file, l->source.line,
                         localizer_text(*l) + " not written: " + best->ident +
                             " serves that runway end");
        }
    }
}

void LocalizerJoiner::finish()
{
    for (Localizer &l : localizers_)
        if (l.state == Localizer::State::unseen)
            report_.note(l.source.file, l.source.line,
                         localizer_text(l) + ": no airport " + l.airport + " in the airport data");
}

long LocalizerJoiner::count(Localizer::State state) const
{
    return (long)std::count_if(localizers_.begin(), localizers_.end(),
                               [state](const Localizer &l) { return l.state == state; });
}
