/*
 * The one joiner of landing systems to runway ends, for every source.
 *
 * A localizer is named to an airport and a runway by its source.  The name
 * is what the charts say and what tells close parallels apart (two runways
 * 200 m abeam fit one antenna alike), so it is believed whenever the place
 * allows it; only when it does not, because the runway was renumbered or
 * the sources disagree, does the place decide.  A localizer's antenna
 * normally stands beyond the far end on the extended centre line, its
 * bearing along the runway in the direction of landing; sources also put
 * it short of the far end, beside the runway or, copied from the opposite
 * system, beyond the near end.  So:
 *
 *   0. Joined by its source: a source that names each runway end's landing
 *      system itself (the simulator's scenery: the end's ILS identifier)
 *      has made the join; the localizer serves the end of its designator
 *      wherever it stands, is never moved by place, and comes first where
 *      several serve one end.
 *   1. Named: among the airport's runway ends of the localizer's designator
 *      (leading zeros aside), the one it fits: bearing within
 *      named_bearing_degrees of the end's heading (the limit of offset
 *      localizers and LDAs), antenna within named_abeam_m of the centre
 *      line, and anywhere from named_beyond_m beyond the near end to
 *      named_beyond_m beyond the far end.  An end of that designator whose
 *      place is unknown (a source without end coordinates) is taken as it
 *      is named.
 *   2. By place, only when no end of its designator fits: the end whose
 *      geometry it fits closely, a renumbered runway: bearing within
 *      place_bearing_degrees, antenna within place_lateral_m of the
 *      extended centre line and from place_before_m before to
 *      place_beyond_m beyond the far end.  Each such join is reported and
 *      counted.  A runway elsewhere that merely carries the old designator
 *      gets nothing.
 *      Where a localizer fits several ends, the closest fit wins: least
 *      distance abeam plus 100 m for each degree of bearing off.
 *   3. Where several serve one end: one joined by its name before one
 *      joined by place, an ILS (with glide slope) before a LOC/LDA/SDF,
 *      then the one whose bearing is nearest the end's heading, then the
 *      first read.
 *
 * The airport's codes: its identifier, the ICAO code and every alias
 * (OurAirports' ident, gps_code, icao_code, local_code).  A localizer found
 * only through an alias that fits none of its ends is left for another
 * airport, as such codes may repeat among countries.
 *
 * Localizers that serve no runway end are reported, each with the reason.
 */
#ifndef PELMORA_TOOLS_JOINER_H
#define PELMORA_TOOLS_JOINER_H

#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "facilities.h"
#include "common/report.h"

class LocalizerJoiner {
public:
    static constexpr double named_bearing_degrees = 35;
    static constexpr double named_abeam_m = 1500;
    static constexpr double named_beyond_m = 4000;
    static constexpr double place_bearing_degrees = 5;
    static constexpr double place_lateral_m = 600;
    static constexpr double place_before_m = 1500;
    static constexpr double place_beyond_m = 4000;

    explicit LocalizerJoiner(Report &report) : report_(report) {}

    /* Keeps a localizer for the airports to come; false (with a note) when
     * the same airport, runway and identifier came before. */
    bool add(const Localizer &localizer);

    /* Gives the airport's runway ends their localizers. */
    void join(const Airport &airport, std::vector<RunwayEnd> &ends);
    /* The airport is not written: its localizers are not reported as
     * lacking an airport. */
    void airport_skipped(const Airport &airport);
    /* Reports the localizers whose airport never came. */
    void finish();

    long count(Localizer::State state) const;
    long duplicates() const { return duplicates_; }
    /* Localizers joined to an end of another designator by their place. */
    long joined_by_place() const { return joined_by_place_; }

private:
    struct Named {
        Localizer *localizer;
        bool by_alias;                  /* found through none of ident and icao */
    };
    std::vector<Named> named_to(const Airport &airport);

    Report &report_;
    std::deque<Localizer> localizers_;        /* stable addresses: ends point here */
    std::unordered_map<std::string, std::vector<size_t>> by_airport_;
    long duplicates_ = 0;
    long joined_by_place_ = 0;
    /* Localizers found only through an alias, fitting none of that
     * airport's ends: the airport's ident, for the message at the end. */
    std::unordered_map<const Localizer *, std::string> fitting_no_alias_;
};

/* The two tests of the joiner: a localizer on an end of its own designator,
 * and one on any end by place (the limits above). */
enum class FitTest { named, place };

/* True when the end's place and heading are known, so that a localizer's
 * fit can be measured. */
bool knows_place(const RunwayEnd &end);

/* How well a localizer fits a runway end: a score, smaller is better, or a
 * negative value when it does not fit (or the end's place is unknown). */
double localizer_fit(const Localizer &l, const RunwayEnd &end, FitTest test);

#endif
