/*
 * The one joiner of landing systems to runway ends, for every source.
 *
 * A localizer is named to an airport and a runway by its source, but
 * runways are renumbered and sources disagree; what does not change is the
 * place.  A localizer serves the runway end it guides to: its antenna lies
 * beyond the far end, on or near the extended centre line, and its bearing
 * runs along the runway in the direction of landing.  So:
 *
 *   1. Among the localizers named to the airport (by its identifier or its
 *      ICAO code), each goes to the runway end whose geometry it fits:
 *      bearing within place_bearing_degrees of the end's heading, antenna
 *      within place_lateral_m of the extended centre line and from
 *      place_before_m before to place_beyond_m beyond the far end.
 *   2. A localizer that fits no end by place goes to the end of its
 *      designator only when that end's place is unknown (a source without
 *      end coordinates), or when it lies off the centre line as offset
 *      localizers and LDAs do: within offset_bearing_degrees and
 *      offset_lateral_m.  A runway elsewhere that merely carries the old
 *      designator gets nothing.
 *   3. Where several serve one end: an ILS (with glide slope) before a
 *      LOC/LDA/SDF, then the one whose bearing is nearest the end's heading,
 *      then the first read.
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
    static constexpr double place_bearing_degrees = 5;
    static constexpr double place_lateral_m = 600;
    static constexpr double place_before_m = 1500;
    static constexpr double place_beyond_m = 4000;
    static constexpr double offset_bearing_degrees = 35;
    static constexpr double offset_lateral_m = 1500;

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

private:
    std::vector<Localizer *> named_to(const Airport &airport);

    Report &report_;
    std::deque<Localizer> localizers_;        /* stable addresses: ends point here */
    std::unordered_map<std::string, std::vector<size_t>> by_airport_;
    long duplicates_ = 0;
};

/* How well a localizer fits a runway end by place: a score, smaller is
 * better, or a negative value when it does not fit.  offset admits the
 * wider limits of offset localizers. */
double localizer_fit(const Localizer &l, const RunwayEnd &end, bool offset);

#endif
