/*
 * The sectioned BGL files of the simulator's scenery (the 2004 release and
 * the one after it): the records the data files need, read out of one file.
 *
 * A file is a header, a table of section pointers and, per section, a table
 * of subsections, each a run of records.  Only the sections that hold
 * airports, VORs and landing systems, NDBs (and the name list) are read;
 * every other section is passed over by its pointer, its bytes never read.
 *
 * Records and subrecords are walked by their own sizes and checked against
 * their parent's end: a bad size stops that parent (what was read before it
 * is kept) and is reported with the file offset.  Nothing here trusts a
 * count or an offset the file gives without checking it against the file's
 * size, and nothing loops on a size of zero.
 *
 * Values are given as the file holds them, decoded but not interpreted:
 * degrees, metres, Hz, the stored magnetic variation (west positive, east
 * stored as 360 - east); the conversion decides what they mean for the
 * data files.
 */
#ifndef PELMORA_TOOLS_BGL_H
#define PELMORA_TOOLS_BGL_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

/* One runway record: both ends, as the simulator keeps them (one heading,
 * the primary end's; the secondary's is its reciprocal). */
struct BglRunway {
    int primary_number = 0, primary_designator = 0;      /* number 1-36, 37+ compass points */
    int secondary_number = 0, secondary_designator = 0;  /* designator 0 none, 1 L, 2 R, 3 C, 4 water */
    std::string primary_ils, secondary_ils;              /* ILS identifier of each end; "" none */
    double latitude = 0, longitude = 0;                  /* the runway's centre */
    double elevation_m = 0;
    double length_m = 0, width_m = 0;
    double heading = 0;                                  /* true, of the primary end */
    int surface = 0;                                     /* the record's surface code */
    bool primary_closed = false, secondary_closed = false;
    long offset = 0;                                     /* in the file, for messages */
};

/* A DeleteAirport subrecord: what it removes from the layers below. */
struct BglDeletion {
    unsigned flags = 0;          /* bits: 0 approaches, 1 apron lights, 2 aprons, 3 frequencies,
                                    4 helipads, 5 runways, 6 starts, 7 taxiways */
    struct Runway {
        int primary_number, secondary_number;
        int primary_designator, secondary_designator;
    };
    std::vector<Runway> runways; /* runways it names one by one */
};

enum { bgl_delete_all_runways = 1u << 5 };

struct BglAirport {
    std::string ident;
    std::string name;                                    /* "" when the file names none */
    double latitude = 0, longitude = 0, elevation_m = 0;
    double magnetic_variation = 0;                       /* as stored: west positive */
    std::vector<BglRunway> runways;
    int helipads = 0;
    bool fsx_form = false;                               /* the later record form */
    std::vector<BglDeletion> deletions;
    long offset = 0;
};

/* A record of the VOR/ILS section. */
struct BglVorIls {
    enum Type { terminal = 1, low = 2, high = 3, ils = 4, vot = 5 };
    int type = 0;
    unsigned flags = 0;                                  /* bit 0 clear: DME only; 2 backcourse;
                                                            3 glide slope; 4 DME */
    double latitude = 0, longitude = 0, elevation_m = 0;
    unsigned long frequency_hz = 0;
    double range_m = 0;
    double magnetic_variation = 0;                       /* as stored: west positive */
    std::string ident, region, airport;                  /* airport: an ILS's own airport */
    bool has_localizer = false;
    int localizer_runway_number = 0, localizer_runway_designator = 0;
    double localizer_heading = 0;                        /* true */
    double localizer_width = 0;
    bool has_glide_slope = false, has_dme = false;
    std::string name;
    long offset = 0;

    bool dme_only() const { return (flags & 1u) == 0; }
};

struct BglNdb {
    int type = 0;                                        /* 0 compass point, 1 MH, 2 H, 3 HH */
    unsigned long frequency = 0;                         /* as stored (Hz; kHz in some files) */
    double latitude = 0, longitude = 0, elevation_m = 0;
    double range_m = 0;
    double magnetic_variation = 0;
    std::string ident, region, airport;
    std::string name;
    long offset = 0;
};

/* What one file turned out to be. */
enum class BglKind {
    sectioned,        /* read (perhaps only in part: see problems) */
    older_format,     /* an unsectioned file of an earlier simulator: not read */
    not_bgl,          /* neither kind: too short, or no BGL at all */
    unreadable,       /* could not be opened or read */
};

/* A fault found in a file, with where it was (file offset; -1 none). */
struct BglProblem {
    long offset;
    std::string what;
};

struct BglFile {
    BglKind kind = BglKind::not_bgl;
    std::vector<BglAirport> airports;
    std::vector<BglVorIls> vor_ils;
    std::vector<BglNdb> ndbs;
    long markers = 0;                                    /* read, counted, never written */
    long later_records = 0;                              /* record forms of a later simulator, and its
                                                            sections (0xAA, one each): not read */
    long sections_skipped = 0;                           /* sections passed over by their pointer
                                                            (a later simulator's among them) */
    unsigned long long bytes_read = 0;                   /* of the file's bytes, what was read */
    std::vector<BglProblem> problems;                    /* the first bgl_problem_room of them */
    long problems_unlisted = 0;                          /* those after the first bgl_problem_room */
};

enum { bgl_problem_room = 100 };

/* Where the reader takes its bytes from: a file, or memory (tests, fuzzing).
 * read_at fills exactly size bytes at offset, or returns false. */
class BglBytes {
public:
    virtual ~BglBytes() {}
    virtual unsigned long long size() const = 0;
    virtual bool read_at(unsigned long long offset, void *buffer, size_t size) = 0;
};

/* Reads one file's records into *file; never fails outright: what went
 * wrong is in file->kind and file->problems. */
void read_bgl(BglBytes &bytes, BglFile *file);
void read_bgl_file(const std::string &path, BglFile *file);
void read_bgl_memory(const unsigned char *data, size_t size, BglFile *file);

/* The identifier packings (exposed for the tests' writer and the reader). */
std::string bgl_ident(uint32_t packed);          /* unshifted: 38 characters per place */
uint32_t bgl_pack_ident(const std::string &ident);
double bgl_latitude(uint32_t value);
double bgl_longitude(uint32_t value);

/* The stored magnetic variation (west positive, east E as 360 - E) as
 * degrees east positive, in (-180, 180]. */
double bgl_east_variation(double stored);
/* A true heading as a magnetic course with a record's stored variation:
 * (true + stored) modulo 360, in (0, 360] (north is 360). */
double bgl_magnetic_course(double true_heading, double stored);

#endif
