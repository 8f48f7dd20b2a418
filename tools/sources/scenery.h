/*
 * The simulator's own scenery as the data files' source: the areas of its
 * scenery library (scenery_library.h), the BGL files of each, and the
 * layers resolved as the simulator resolves them.
 *
 * Order: the active areas by Layer, lowest first; areas of one layer by
 * their area number; within an area its files <Local>\scenery\NAME.bgl (folder
 * and extension in any letter case) by name.  What comes later in this
 * order lies above what came before:
 *   - an airport, by its identifier: the highest definition wins whole,
 *     its runways and the landing systems they name.  An upper record with
 *     no runways keeps the runways of the one below, less those its
 *     DeleteAirport removes (all of them when it deletes all runways); with
 *     no DeleteAirport at all this is reported;
 *   - a VOR (or DME, VOT) and an NDB, by identifier, region and place:
 *     the same identifier and region within navaid_same_place_degrees
 *     (0.1 degree of arc, about 11 km) is the same station, the upper one
 *     taken;
 *   - a landing system (ILS or localizer), by identifier and airport.
 * Where two definitions lie in one layer (two areas of one Layer value,
 * or two files of one area), the later is taken and the repeat reported.
 *
 * An end's landing system is the ILS record whose identifier the runway
 * names for that end and whose airport is this airport; an end that names
 * none takes an ILS record of this airport whose localizer names that
 * runway end.  ILS records that join no runway end are reported.
 *
 * Courses are worked out in the simulator's own magnetic world, from the
 * variation each record stores (west positive, east stored as 360 - east):
 * an ILS end from its localizer's true heading and that ILS record's
 * variation, an end without ILS from the runway's true heading (+180 for
 * the secondary end) and the airport's variation; magnetic =
 * true + variation, modulo 360, whole degrees, 0 written as 360.  No
 * world magnetic model is used.
 *
 * Frequencies: VOR and ILS in Hz, written as MHz with two decimals; NDBs in
 * whole kHz, from Hz (a stored value from 100000 up) or kHz as stored.
 * DME-only stations, VOTs, landing systems and markers are no navaid lines.
 */
#ifndef PELMORA_TOOLS_SCENERY_H
#define PELMORA_TOOLS_SCENERY_H

#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "bgl/bgl.h"
#include "convert/converter.h"
#include "common/report.h"
#include "scenery_library.h"
#include "xplane.h"

static constexpr double navaid_same_place_degrees = 0.1;
/* Stations of one identifier and region kept at the most. */
static constexpr size_t navaid_same_ident_room = 512;

/* What the layers did, for the summary. */
struct LayerCounts {
    long airports = 0, airports_replaced = 0, runways_kept_from_below = 0;
    long airports_deleting = 0;                    /* upper records with a DeleteAirport */
    long vors = 0, vors_replaced = 0, ndbs = 0, ndbs_replaced = 0, ils = 0, ils_replaced = 0;
    long same_layer_repeats = 0;
    long ils_joined_by_ident = 0, ils_joined_by_runway = 0, ils_joining_none = 0;
    long runways_unreadable = 0;                   /* numbers no designator can be made of */
};

/* The records of the files given in the simulator's order, resolved. */
class SceneryLayers {
public:
    explicit SceneryLayers(Report &report) : report_(report) {}

    /* The area whose files come next (its layer and number order them). */
    void begin_area(const SceneryArea &area);
    /* One file's records, taken over (the file is left empty); path names
     * it in messages. */
    void add_file(const std::string &path, BglFile &file);
    /* Hands the resolved airports, their landing systems and the navaids
     * to the converter, in the converter's order of use. */
    void hand_to(Converter &converter);

    const LayerCounts &counts() const { return counts_; }

private:
    struct Place {
        std::string path;               /* the file */
        std::string file;               /* path: offset N, for messages */
        int layer = 0;
        int area = 0;
        long order = 0;                 /* of the file, across the library */
    };
    struct KeptAirport {
        BglAirport record;
        Place place;
    };
    struct KeptVor {
        BglVorIls record;
        Place place;
    };
    struct KeptNdb {
        BglNdb record;
        Place place;
    };

    Place place_of(long offset) const;
    bool same_layer(const Place &a, const Place &b) const;
    void take_airport(BglAirport &airport);
    void take_vor_ils(BglVorIls &record);
    void take_ndb(BglNdb &record);
    void repeated(const Place &below, const Place &above, const std::string &what);
    double variation(double stored, const Place &place, const std::string &what);

    Report &report_;
    SceneryArea area_;
    std::string file_;
    long file_order_ = 0;
    LayerCounts counts_;
    std::deque<KeptAirport> airports_;
    std::unordered_map<std::string, size_t> airport_index_;     /* ident */
    std::deque<KeptVor> vors_;                                  /* VOR, DME, VOT */
    std::unordered_map<std::string, std::vector<size_t>> vor_index_;   /* ident + region */
    std::deque<KeptNdb> ndbs_;
    std::unordered_map<std::string, std::vector<size_t>> ndb_index_;
    std::deque<KeptVor> ils_;
    std::unordered_map<std::string, size_t> ils_index_;         /* ident + airport */
};

/* The magnetic course, 1 to 360, of a true heading under a stored
 * variation (west positive, east as 360 - east); 0 when either is no
 * number. */
int simulator_course(double true_heading, double stored_variation);

/* A runway end's designator from the record's number and designator
 * codes: 01-36 with L, R or C (W on water); 37 to 44 the compass points N,
 * NE, E, SE, S, SW, W, NW.  Empty for a number no designator is made of. */
std::string runway_designator(int number, int designator);

/* Reads the scenery library of sim_dir (its scenery.cfg, or cfg_path when
 * given) into the converter.  False, with the reason in outcome->fatal,
 * when there is no library or no BGL file of it could be read; *summary
 * gets the areas and files read and skipped (no closing newline). */
bool read_scenery(const std::string &sim_dir, const std::string &cfg_path, Converter &converter,
                  Report &report, ReadOutcome *outcome, std::string *summary);

#endif
