/*
 * The facts the converter keeps between reading a source and writing the two
 * data files: only what the output needs, in the source's own terms.  Each
 * record remembers where it came from, for messages.
 */
#ifndef PELMORA_TOOLS_FACILITIES_H
#define PELMORA_TOOLS_FACILITIES_H

#include <string>
#include <vector>

/* Where a record was read: file name as given and line number. */
struct SourceLine {
    std::string file;
    long line = 0;
};

enum class AirportKind {
    land,                               /* an aerodrome for aeroplanes */
    seaplane_base,
    heliport,
    other                               /* balloon ports and the like */
};

/* A landing system's localizer, from a nav.dat row 4 or 5. */
struct Localizer {
    std::string airport;                /* the airport's identifier, as in the row */
    std::string runway;                 /* runway designator, as in the row */
    std::string ident;                  /* e.g. ISNQ */
    long frequency = 0;                 /* MHz x 100: 11030 is 110.30 */
    double bearing = 0;                 /* true degrees; as read, the converter unpacks it */
    double latitude = 0, longitude = 0; /* the antenna */
    bool with_glide_slope = false;      /* row 4 (ILS) rather than 5 (LOC, LDA, SDF) */
    SourceLine source;
    /* nav.dat 1150 on: the bearing field may pack the published magnetic
     * course before the true bearing (see courses.h). */
    bool packed_bearing = false;
    int published_course = 0;           /* magnetic, 1 to 360; 0 when the source gives none */
    /* The source has joined it to its runway end itself (the simulator's
     * scenery names each end's landing system): it serves the end of its
     * runway designator wherever it stands, and never joins by place. */
    bool joined_by_source = false;

    enum class State {
        unseen,                         /* no airport with this identifier came by */
        airport_skipped,                /* the airport was closed, filtered, ... */
        no_runway,                      /* the airport has no such runway end */
        spare,                          /* another localizer serves the runway end */
        joined
    };
    State state = State::unseen;
};

/* One end of a runway: one descriptor of the runway file. */
struct RunwayEnd {
    std::string designator;             /* e.g. 16L, as in the source */
    double heading = -1;                /* true degrees; negative when unknown */
    bool has_position = false;          /* the threshold's place is known */
    double latitude = 0, longitude = 0;
    bool has_far_end = false;           /* the other end's threshold is known */
    double far_latitude = 0, far_longitude = 0;
    long length_ft = -1;                /* the whole runway's length; negative when unknown */
    /* The magnetic course the source works out in its own magnetic world
     * (the simulator's stored variation), 1 to 360; 0 when it gives none. */
    int source_course = 0;
    const Localizer *localizer = nullptr;
};

struct Airport {
    std::string ident;                  /* the source's own identifier (joins) */
    std::string icao;                   /* a code the source gives apart from ident: ICAO, or
                                           OurAirports' FAA code of a US field (S50) */
    std::string name;                   /* as in the source, UTF-8 or Latin-1 */
    std::string country;                /* empty when the source gives none */
    AirportKind kind = AirportKind::land;
    bool closed = false;
    bool has_hard_runway = false;
    bool has_position = false;
    double latitude = 0, longitude = 0;
    std::vector<RunwayEnd> ends;        /* in source order, one runway's two ends together */
    SourceLine source;
    std::vector<std::string> aliases;   /* further codes it is known by: localizers join on them */
};

/* A VOR (VOR, VOR-DME, VORTAC) or an NDB. */
struct Navaid {
    std::string ident;
    std::string name;
    bool vor = false;                   /* else an NDB */
    long frequency = 0;                 /* VOR: MHz x 100; NDB: whole kHz */
    double latitude = 0, longitude = 0;
    std::string country;                /* empty when the source gives none */
    SourceLine source;
};

#endif
