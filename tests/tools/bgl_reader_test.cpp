#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <utility>

#include "bgl_writer.h"
#include "test_files.h"

namespace {

BglRunway runway(int primary, int secondary, double heading, const std::string &primary_ils = "",
                 const std::string &secondary_ils = "")
{
    BglRunway r;
    r.primary_number = primary;
    r.secondary_number = secondary;
    r.primary_ils = primary_ils;
    r.secondary_ils = secondary_ils;
    r.latitude = 47.449;
    r.longitude = -122.309;
    r.elevation_m = 131.4;
    r.length_m = 3627.1;
    r.width_m = 45.7;
    r.heading = heading;
    r.surface = 4;
    return r;
}

BglAirport airport(const std::string &ident, bool fsx, double variation)
{
    BglAirport a;
    a.ident = ident;
    a.fsx_form = fsx;
    a.latitude = 47.4499;
    a.longitude = -122.3117;
    a.elevation_m = 132.6;
    a.magnetic_variation = variation;
    return a;
}

BglVorIls ils(const std::string &ident, const std::string &airport, unsigned long hz,
              double heading, double variation)
{
    BglVorIls v;
    v.type = BglVorIls::ils;
    v.flags = 1 | 8 | 16;
    v.latitude = 47.43;
    v.longitude = -122.31;
    v.elevation_m = 110;
    v.frequency_hz = hz;
    v.range_m = 50000;
    v.magnetic_variation = variation;
    v.ident = ident;
    v.region = "K1";
    v.airport = airport;
    v.has_localizer = true;
    v.localizer_runway_number = 16;
    v.localizer_runway_designator = 1;
    v.localizer_heading = heading;
    v.localizer_width = 5;
    v.has_glide_slope = true;
    v.has_dme = true;
    v.name = "IGS RWY 16L";
    return v;
}

BglNdb ndb(const std::string &ident, unsigned long frequency)
{
    BglNdb n;
    n.type = 2;
    n.frequency = frequency;
    n.latitude = 47.5;
    n.longitude = -122.2;
    n.range_m = 46300;
    n.magnetic_variation = 344;
    n.ident = ident;
    n.region = "K1";
    n.name = "CARNATION";
    return n;
}

BglFile read_of(const std::string &bytes)
{
    BglFile file;
    read_bgl_memory((const unsigned char *)bytes.data(), bytes.size(), &file);
    return file;
}

std::string problems_of(const BglFile &file)
{
    std::string text;
    for (const BglProblem &p : file.problems)
        text += std::to_string(p.offset) + ": " + p.what + "\n";
    return text;
}

bool has_problem(const BglFile &file, const std::string &part, long offset = -2)
{
    for (const BglProblem &p : file.problems)
        if (p.what.find(part) != std::string::npos && (offset == -2 || p.offset == offset))
            return true;
    return false;
}

/* Memory bytes that remember every range read. */
class RecordingBytes : public BglBytes {
public:
    explicit RecordingBytes(const std::string &bytes) : bytes_(bytes) {}
    unsigned long long size() const override { return bytes_.size(); }
    bool read_at(unsigned long long offset, void *buffer, size_t size) override
    {
        reads.push_back(std::make_pair(offset, (unsigned long long)size));
        if (offset > bytes_.size() || size > bytes_.size() - offset)
            return false;
        memcpy(buffer, bytes_.data() + offset, size);
        return true;
    }
    bool touched(unsigned long long from, unsigned long long to) const
    {
        for (const auto &r : reads)
            if (r.first < to && r.first + r.second > from)
                return true;
        return false;
    }
    std::vector<std::pair<unsigned long long, unsigned long long>> reads;

private:
    std::string bytes_;
};

TEST(BglEncodings, IdentsAndPlaces)
{
    EXPECT_EQ(bgl_pack_ident("ABC"), 17836u);
    EXPECT_EQ(bgl_ident(17836), "ABC");
    EXPECT_EQ(bgl_ident(bgl_pack_ident("KSEA")), "KSEA");
    EXPECT_EQ(bgl_ident(bgl_pack_ident("ISNQ")), "ISNQ");
    EXPECT_EQ(bgl_ident(bgl_pack_ident("K1")), "K1");
    EXPECT_EQ(bgl_ident(bgl_pack_ident("09")), "09");   /* a leading 0 digit is code 2, kept */
    EXPECT_EQ(bgl_ident(bgl_pack_ident("AB ")), "AB"); /* trailing blanks trimmed */
    EXPECT_EQ(bgl_ident(0), "");
    EXPECT_EQ(bgl_ident(1), "?");                      /* code 1 is no character */
    EXPECT_DOUBLE_EQ(bgl_latitude(0x10000000), 0);
    EXPECT_DOUBLE_EQ(bgl_longitude(0x18000000), 0);
    EXPECT_DOUBLE_EQ(bgl_latitude(0), 90);
    EXPECT_DOUBLE_EQ(bgl_latitude(0x20000000), -90);
    EXPECT_DOUBLE_EQ(bgl_longitude(0), -180);
    EXPECT_NEAR(bgl_latitude(bgl_encode_latitude(-33.9461)), -33.9461, 1e-6);
    EXPECT_NEAR(bgl_longitude(bgl_encode_longitude(151.1772)), 151.1772, 1e-6);

    /* Variation: west positive as stored, east stored as 360 - east. */
    EXPECT_DOUBLE_EQ(bgl_east_variation(356.5), 3.5);
    EXPECT_DOUBLE_EQ(bgl_east_variation(15.5), -15.5);
    EXPECT_DOUBLE_EQ(bgl_east_variation(-3.5), 3.5);
    EXPECT_DOUBLE_EQ(bgl_east_variation(0), 0);
    EXPECT_NEAR(bgl_magnetic_course(179.58, 356.5), 176.08, 1e-9);   /* east: less */
    EXPECT_NEAR(bgl_magnetic_course(340.0, 15.5), 355.5, 1e-9);      /* west: more */
    EXPECT_NEAR(bgl_magnetic_course(350.0, 15.5), 5.5, 1e-9);
    EXPECT_DOUBLE_EQ(bgl_magnetic_course(3.5, 356.5), 360);
}

TEST(BglRoundTrip, AirportsInBothFormsWithRunwaysNamesAndDeletions)
{
    /* West 15.5 is stored as 15.5, east 3.5 as 356.5. */
    BglAirport west = airport("KSEA", true, 15.5);
    west.name = "Seattle-Tacoma Intl";
    west.runways.push_back(runway(16, 34, 179.58f, "ISNQ", "IBEJ"));
    west.runways[0].primary_designator = 1;
    west.runways[0].secondary_designator = 2;
    west.runways.push_back(runway(16, 34, 179.6f));
    west.runways[1].primary_designator = 3;
    west.runways[1].secondary_designator = 3;
    west.runways[1].secondary_closed = true;
    west.helipads = 2;
    BglAirport east = airport("EDDF", false, 356.5);
    east.name = "FRANKFURT";  /* 9 characters: padded; 8 would fill its room unterminated */
    east.latitude = 50.0333;
    east.longitude = 8.5706;
    east.runways.push_back(runway(7, 25, 69.9f, "", "IFS"));
    east.runways[0].primary_designator = 3;
    east.runways[0].secondary_designator = 3;
    BglDeletion d;
    d.flags = bgl_delete_all_runways | 1u << 3;
    d.runways.push_back(BglDeletion::Runway{18, 36, 0, 0});
    east.deletions.push_back(d);
    BglAirport unterminated = airport("LFPG", true, 358);
    unterminated.name = "ROISSY12";

    BglWriter w;
    w.airport_options.coms = 2;
    w.airport_options.runway_thresholds = true;
    w.records_per_subsection = 2;
    w.add_airport(west);
    w.add_airport(east);
    w.add_airport(unterminated);
    BglFile f = read_of(w.bytes());
    EXPECT_EQ(f.kind, BglKind::sectioned);
    EXPECT_EQ(problems_of(f), "");
    ASSERT_EQ(f.airports.size(), 3u);
    EXPECT_EQ(w.section(bgl::section_airports)->subsections.size(), 2u);

    const BglAirport &a = f.airports[0];
    EXPECT_EQ(a.ident, "KSEA");
    EXPECT_EQ(a.name, "Seattle-Tacoma Intl");
    EXPECT_TRUE(a.fsx_form);
    EXPECT_NEAR(a.latitude, 47.4499, 1e-6);
    EXPECT_NEAR(a.longitude, -122.3117, 1e-6);
    EXPECT_NEAR(a.elevation_m, 132.6, 1e-3);
    EXPECT_DOUBLE_EQ(a.magnetic_variation, 15.5);
    EXPECT_EQ(a.helipads, 2);
    ASSERT_EQ(a.runways.size(), 2u);
    const BglRunway &r = a.runways[0];
    EXPECT_EQ(r.primary_number, 16);
    EXPECT_EQ(r.primary_designator, 1);
    EXPECT_EQ(r.secondary_number, 34);
    EXPECT_EQ(r.secondary_designator, 2);
    EXPECT_EQ(r.primary_ils, "ISNQ");
    EXPECT_EQ(r.secondary_ils, "IBEJ");
    EXPECT_NEAR(r.heading, 179.58, 1e-4);
    EXPECT_NEAR(r.length_m, 3627.1, 1e-3);
    EXPECT_NEAR(r.width_m, 45.7, 1e-4);
    EXPECT_NEAR(r.latitude, 47.449, 1e-6);
    EXPECT_NEAR(r.longitude, -122.309, 1e-6);
    EXPECT_NEAR(r.elevation_m, 131.4, 1e-3);
    EXPECT_EQ(r.surface, 4);
    EXPECT_FALSE(r.primary_closed || r.secondary_closed);
    EXPECT_EQ(a.runways[1].primary_ils, "");
    EXPECT_EQ(a.runways[1].primary_designator, 3);
    EXPECT_TRUE(a.runways[1].secondary_closed);
    EXPECT_FALSE(a.runways[1].primary_closed);

    const BglAirport &b = f.airports[1];
    EXPECT_EQ(b.ident, "EDDF");
    EXPECT_FALSE(b.fsx_form);
    EXPECT_EQ(b.name, "FRANKFURT");
    EXPECT_DOUBLE_EQ(b.magnetic_variation, 356.5);
    ASSERT_EQ(b.runways.size(), 1u);
    EXPECT_EQ(b.runways[0].secondary_ils, "IFS");
    EXPECT_EQ(b.runways[0].primary_ils, "");
    ASSERT_EQ(b.deletions.size(), 1u);
    EXPECT_EQ(b.deletions[0].flags, bgl_delete_all_runways | 1u << 3);
    ASSERT_EQ(b.deletions[0].runways.size(), 1u);
    EXPECT_EQ(b.deletions[0].runways[0].primary_number, 18);
    EXPECT_EQ(b.deletions[0].runways[0].secondary_number, 36);
    EXPECT_EQ(f.airports[2].name, "ROISSY12");

    /* The name list names an airport that has no name subrecord. */
    BglWriter listed;
    listed.names_in_name_list = true;
    listed.add_airport(west);
    listed.add_airport(airport("KBFI", false, 16));
    BglFile g = read_of(listed.bytes());
    EXPECT_EQ(problems_of(g), "");
    ASSERT_EQ(g.airports.size(), 2u);
    EXPECT_EQ(g.airports[0].name, "Seattle-Tacoma Intl");
    EXPECT_EQ(g.airports[1].name, "");
}

TEST(BglRoundTrip, NavaidsWithTheirSubrecords)
{
    BglWriter w;
    w.add_vor_ils(ils("ISNQ", "KSEA", 110300000, 179.58, 15.5));
    BglVorIls vor = ils("SEA", "", 116800000, 0, 340);
    vor.type = BglVorIls::high;
    vor.has_localizer = vor.has_glide_slope = false;
    vor.name = "SEATTLE";
    w.add_vor_ils(vor);
    BglVorIls dme = vor;
    dme.ident = "BFI";
    dme.flags = 16;          /* bit 0 clear: DME only */
    dme.has_dme = true;
    dme.name = "";
    w.add_vor_ils(dme);
    w.add_ndb(ndb("CNA", 362000));
    w.add_ndb(ndb("OJ", 1740));           /* a file that keeps kHz */
    w.add_markers(3);
    BglFile f = read_of(w.bytes());
    EXPECT_EQ(problems_of(f), "");
    ASSERT_EQ(f.vor_ils.size(), 3u);
    const BglVorIls &i = f.vor_ils[0];
    EXPECT_EQ(i.type, BglVorIls::ils);
    EXPECT_EQ(i.flags, 1u | 8 | 16);
    EXPECT_EQ(i.ident, "ISNQ");
    EXPECT_EQ(i.region, "K1");
    EXPECT_EQ(i.airport, "KSEA");
    EXPECT_EQ(i.frequency_hz, 110300000u);
    EXPECT_DOUBLE_EQ(i.magnetic_variation, 15.5);
    EXPECT_TRUE(i.has_localizer);
    EXPECT_EQ(i.localizer_runway_number, 16);
    EXPECT_EQ(i.localizer_runway_designator, 1);
    EXPECT_NEAR(i.localizer_heading, 179.58, 1e-4);
    EXPECT_NEAR(i.localizer_width, 5, 1e-6);
    EXPECT_TRUE(i.has_glide_slope);
    EXPECT_TRUE(i.has_dme);
    EXPECT_FALSE(i.dme_only());
    EXPECT_EQ(i.name, "IGS RWY 16L");
    EXPECT_NEAR(i.latitude, 47.43, 1e-6);
    EXPECT_NEAR(i.longitude, -122.31, 1e-6);
    EXPECT_NEAR(i.range_m, 50000, 1e-3);
    const BglVorIls &v = f.vor_ils[1];
    EXPECT_EQ(v.type, BglVorIls::high);
    EXPECT_EQ(v.ident, "SEA");
    EXPECT_EQ(v.airport, "");
    EXPECT_FALSE(v.has_localizer || v.has_glide_slope);
    EXPECT_EQ(v.name, "SEATTLE");
    EXPECT_DOUBLE_EQ(v.magnetic_variation, 340);
    EXPECT_TRUE(f.vor_ils[2].dme_only());
    ASSERT_EQ(f.ndbs.size(), 2u);
    EXPECT_EQ(f.ndbs[0].ident, "CNA");
    EXPECT_EQ(f.ndbs[0].frequency, 362000u);
    EXPECT_EQ(f.ndbs[0].type, 2);
    EXPECT_EQ(f.ndbs[0].region, "K1");
    EXPECT_EQ(f.ndbs[0].name, "CARNATION");
    EXPECT_DOUBLE_EQ(f.ndbs[0].magnetic_variation, 344);
    EXPECT_EQ(f.ndbs[1].frequency, 1740u);
    EXPECT_EQ(f.markers, 3);
}

TEST(BglReader, PassesOverTheSectionsItDoesNotNeed)
{
    BglWriter w;
    BglAirport a = airport("KSEA", true, 15.5);
    a.runways.push_back(runway(16, 34, 180));
    w.add_objects(1 << 20);
    w.add_airport(a);
    w.add_objects(4096, 0x2C);      /* the airport summary: a duplicate */
    w.add_vor_ils(ils("ISNQ", "KSEA", 110300000, 179.58, 15.5));
    /* A later simulator's airport form, and a later section. */
    std::string later(60, '\0');
    bgl_put16(&later, 0, bgl::id_airport_later);
    bgl_put32(&later, 2, 60);
    w.add_record(bgl::section_airports, later);
    w.add_section(bgl::section_later, 1, {std::string(32, '\x7f')});
    std::string bytes = w.bytes();
    RecordingBytes recording(bytes);
    BglFile f;
    read_bgl(recording, &f);
    EXPECT_EQ(problems_of(f), "");
    EXPECT_EQ(f.airports.size(), 1u);
    EXPECT_EQ(f.vor_ils.size(), 1u);
    EXPECT_EQ(f.later_records, 2);
    EXPECT_EQ(f.sections_skipped, 3);
    for (const BglWriter::Section &s : w.layout()) {
        bool needed = s.type == bgl::section_airports || s.type == bgl::section_vor_ils;
        EXPECT_EQ(recording.touched(s.table_at, s.table_at + s.table_size), needed) << s.type;
        for (const BglWriter::Subsection &sub : s.subsections)
            EXPECT_EQ(recording.touched(sub.records_at, sub.records_at + sub.records_size), needed)
                << s.type;
    }
    /* One read per table and per subsection, not one per record. */
    EXPECT_EQ(recording.reads.size(), 6u);
    EXPECT_LT(f.bytes_read, 2000u);
    EXPECT_EQ(f.bytes_read, [&] {
        unsigned long long n = 0;
        for (const auto &r : recording.reads)
            n += r.second;
        return n;
    }());

    /* 20-byte subsection entries (flags bit 16) are stepped by their size. */
    BglWriter wide;
    wide.add_section(bgl::section_ndbs, 0x10000, {bgl_ndb_record(ndb("CNA", 362000)),
                                                  bgl_ndb_record(ndb("ALB", 300000))});
    wide.records_per_subsection = 1;
    BglFile g = read_of(wide.bytes());
    EXPECT_EQ(problems_of(g), "");
    ASSERT_EQ(g.ndbs.size(), 2u);
    EXPECT_EQ(g.ndbs[1].ident, "ALB");
}

TEST(BglReader, ReadsAFileFromDiskAndNamesTheUnreadable)
{
    ScratchFolder folder;
    BglWriter w;
    w.add_ndb(ndb("CNA", 362000));
    std::string path = folder.write("NVX0001.BGL", w.bytes());
    BglFile f;
    read_bgl_file(path, &f);
    EXPECT_EQ(f.kind, BglKind::sectioned);
    ASSERT_EQ(f.ndbs.size(), 1u);
    EXPECT_EQ(f.ndbs[0].ident, "CNA");

    read_bgl_file(folder.path() + "/missing.bgl", &f);
    EXPECT_EQ(f.kind, BglKind::unreadable);
    ASSERT_EQ(f.problems.size(), 1u);
    EXPECT_NE(f.problems[0].what.find("cannot open"), std::string::npos);
    mkdir((folder.path() + "/folder.bgl").c_str(), 0777);
    read_bgl_file(folder.path() + "/folder.bgl", &f);
    EXPECT_EQ(f.kind, BglKind::unreadable);
}

/* ---- Bad input ---- */

TEST(BglBadInput, NotSectionedOrCutShort)
{
    BglFile f = read_of(bgl_older_format_file());
    EXPECT_EQ(f.kind, BglKind::older_format);
    EXPECT_EQ(problems_of(f), "");
    f = read_of("NAME=value\r\nmore text\r\n");
    EXPECT_EQ(f.kind, BglKind::not_bgl);
    EXPECT_TRUE(has_problem(f, "not a BGL"));
    f = read_of("");
    EXPECT_EQ(f.kind, BglKind::not_bgl);

    BglWriter w;
    BglAirport a = airport("KSEA", true, 15.5);
    a.name = "Seattle";
    a.runways.push_back(runway(16, 34, 180, "ISNQ"));
    a.runways.push_back(runway(16, 34, 180));
    w.add_airport(a);
    w.add_airport(airport("KBFI", true, 15.5));
    w.add_vor_ils(ils("ISNQ", "KSEA", 110300000, 179.58, 15.5));
    w.add_ndb(ndb("CNA", 362000));
    w.second_magic = 0x12345678;
    std::string bytes = w.bytes();
    f = read_of(bytes);
    EXPECT_TRUE(has_problem(f, "second header word", bgl::header_second_magic));
    EXPECT_EQ(f.airports.size(), 2u);
    EXPECT_EQ(f.ndbs.size(), 1u);

    /* Cut at every length: a problem for each cut that loses bytes, what
     * came before the cut kept, never more than was written. */
    for (size_t n = 0; n < bytes.size(); n++) {
        BglFile cut = read_of(bytes.substr(0, n));
        EXPECT_FALSE(cut.problems.empty()) << n;
        EXPECT_LE(cut.airports.size(), 2u);
        EXPECT_LE(cut.bytes_read, n);
        if (n < bgl::header_size) {
            EXPECT_EQ(cut.kind, BglKind::not_bgl) << n;
        }
    }
    size_t second_airport = w.section(bgl::section_airports)->records[1];
    BglFile cut = read_of(bytes.substr(0, second_airport + 10));
    ASSERT_EQ(cut.airports.size(), 1u);
    EXPECT_EQ(cut.airports[0].runways.size(), 2u);
    EXPECT_TRUE(has_problem(cut, "runs past the end of the file"));
}

TEST(BglBadInput, PointersAndCountsThatDisagree)
{
    BglWriter w;
    w.records_per_subsection = 1;
    w.add_airport(airport("KSEA", true, 15.5));
    w.add_airport(airport("KBFI", true, 15.5));
    w.add_ndb(ndb("CNA", 362000));
    std::string good = w.bytes();
    const BglWriter::Section airports = *w.section(bgl::section_airports);
    const BglWriter::Section ndbs = *w.section(bgl::section_ndbs);

    /* A section's table pointer past the end: that section only is lost. */
    std::string bytes = good;
    bgl_put32(&bytes, airports.pointer_at + bgl::section_table_offset, (uint32_t)good.size() + 100);
    BglFile f = read_of(bytes);
    EXPECT_TRUE(has_problem(f, "runs past the end", (long)airports.pointer_at));
    EXPECT_EQ(f.airports.size(), 0u);
    EXPECT_EQ(f.ndbs.size(), 1u);

    /* A subsection's records past the end: the other subsection is read. */
    bytes = good;
    bgl_put32(&bytes, airports.subsections[0].entry_at + bgl::subsection_records_offset, 0xFFFFFFF0);
    f = read_of(bytes);
    EXPECT_TRUE(has_problem(f, "runs past the end", (long)airports.subsections[0].entry_at));
    ASSERT_EQ(f.airports.size(), 1u);
    EXPECT_EQ(f.airports[0].ident, "KBFI");

    /* A section count far beyond the pointers the file holds. */
    bytes = good;
    bgl_put32(&bytes, bgl::header_section_count, 0xFFFFFFFF);
    f = read_of(bytes);
    EXPECT_TRUE(has_problem(f, "sections", bgl::header_section_count));
    EXPECT_EQ(f.airports.size(), 2u);

    /* Subsection count and table size disagree; record count disagrees. */
    bytes = good;
    bgl_put32(&bytes, airports.pointer_at + bgl::section_subsection_count, 5);
    bgl_put32(&bytes, ndbs.subsections[0].entry_at + bgl::subsection_record_count, 4);
    f = read_of(bytes);
    EXPECT_TRUE(has_problem(f, "5 subsections of 16 bytes in a table of 32"));
    EXPECT_TRUE(has_problem(f, "says 4 records, holds 1"));
    EXPECT_EQ(f.airports.size(), 2u);
    EXPECT_EQ(f.ndbs.size(), 1u);

    /* Every subsection entry pointing at one large subsection: the reader
     * stops at the file's own size instead of reading it again and again. */
    BglWriter many;
    std::vector<std::string> records(2000, bgl_ndb_record(ndb("CNA", 362000)));
    many.add_section(bgl::section_ndbs, 1, records);
    bytes = many.bytes();
    const BglWriter::Section &s = *many.section(bgl::section_ndbs);
    std::string table;
    for (int i = 0; i < 100; i++)
        table += bytes.substr(s.subsections[0].entry_at, 16);
    size_t table_at = bytes.size();
    bytes += table;
    bgl_put32(&bytes, s.pointer_at + bgl::section_subsection_count, 100);
    bgl_put32(&bytes, s.pointer_at + bgl::section_table_offset, (uint32_t)table_at);
    bgl_put32(&bytes, s.pointer_at + bgl::section_table_size, 1600);
    f = read_of(bytes);
    EXPECT_TRUE(has_problem(f, "overlap"));
    EXPECT_LE(f.bytes_read, bytes.size());
    EXPECT_EQ(f.ndbs.size(), 2000u);
}

TEST(BglBadInput, RecordSizesAndImplausibleValues)
{
    BglWriter w;
    BglAirport a = airport("KSEA", true, 15.5);
    a.runways.push_back(runway(16, 34, 180, "ISNQ"));
    a.runways.push_back(runway(16, 34, 180));
    w.add_airport(a);
    w.add_airport(airport("KBFI", false, 15.5));
    w.add_airport(airport("KPAE", true, 15.5));
    std::string good = w.bytes();
    const BglWriter::Section airports = *w.section(bgl::section_airports);
    size_t second = airports.records[1];

    /* Size 0 and a size past the subsection: the records before are kept. */
    for (uint32_t size : {0u, 5u, 0x7FFFFFFFu}) {
        std::string bytes = good;
        bgl_put32(&bytes, second + bgl::record_size, size);
        BglFile f = read_of(bytes);
        EXPECT_TRUE(has_problem(f, "the rest of the subsection not read", (long)second)) << size;
        ASSERT_EQ(f.airports.size(), 1u) << size;
        EXPECT_EQ(f.airports[0].runways.size(), 2u);
    }
    /* A runway subrecord of size 0: the airport keeps what came before it. */
    std::string bytes = good;
    size_t second_runway = airports.records[0] + bgl::airport_fixed_fsx + 52;
    bgl_put32(&bytes, second_runway + bgl::record_size, 0);
    BglFile f = read_of(bytes);
    EXPECT_TRUE(has_problem(f, "subrecord 0x4 of size 0", (long)second_runway));
    ASSERT_EQ(f.airports.size(), 3u);
    EXPECT_EQ(f.airports[0].runways.size(), 1u);
    EXPECT_TRUE(has_problem(f, "says 2 runways and 0 helipads, holds 1 and 0"));

    /* The FS2004 form with a FSX id (and the other way): found by probing. */
    bytes = good;
    bgl_put16(&bytes, airports.records[0], bgl::id_airport_fs2004);
    bgl_put16(&bytes, second, bgl::id_airport_fsx);
    f = read_of(bytes);
    EXPECT_EQ(problems_of(f), "");
    ASSERT_EQ(f.airports.size(), 3u);
    EXPECT_EQ(f.airports[0].runways.size(), 2u);

    /* Implausible records are reported and left out; the others are read. */
    BglWriter bad;
    BglAirport nowhere = airport("XXXX", true, 0);
    nowhere.runways.push_back(runway(16, 34, 180));
    bad.add_airport(nowhere);
    BglAirport odd = airport("KSEA", true, 400);
    odd.runways.push_back(runway(16, 34, 365));
    odd.runways.push_back(runway(16, 34, 180));
    odd.runways.back().length_m = 0;
    odd.runways.push_back(runway(0, 18, 180));
    odd.runways.push_back(runway(16, 34, 180));
    odd.runways.back().primary_designator = 9;
    bad.add_airport(odd);
    bad.add_vor_ils(ils("ISNQ", "KSEA", 120000000, 179.58, 15.5));
    bad.add_vor_ils(ils("IBEJ", "KSEA", 110300000, 400, 15.5));
    BglVorIls vot = ils("SEA", "", 108200000, 0, 15.5);
    vot.type = 9;
    bad.add_vor_ils(vot);
    bad.add_ndb(ndb("CNA", 90000));
    bad.add_ndb(ndb("ALB", 300000));
    bytes = bad.bytes();
    bgl_put32(&bytes, bad.section(bgl::section_airports)->records[0] + bgl::airport_latitude,
              0xF0000000);
    f = read_of(bytes);
    EXPECT_TRUE(has_problem(f, "airport XXXX: no place"));
    EXPECT_TRUE(has_problem(f, "magnetic variation 400"));
    EXPECT_TRUE(has_problem(f, "heading not 0-360"));
    EXPECT_TRUE(has_problem(f, "length not above 0"));
    EXPECT_TRUE(has_problem(f, "runway number not 1-44"));
    EXPECT_TRUE(has_problem(f, "designator 9/0 unknown"));
    EXPECT_TRUE(has_problem(f, "VOR/ILS ISNQ: frequency not"));
    EXPECT_TRUE(has_problem(f, "VOR/ILS IBEJ: localizer heading"));
    EXPECT_TRUE(has_problem(f, "VOR/ILS SEA: type unknown"));
    EXPECT_TRUE(has_problem(f, "NDB CNA: frequency not"));
    ASSERT_EQ(f.airports.size(), 1u);
    EXPECT_DOUBLE_EQ(f.airports[0].magnetic_variation, 0);
    ASSERT_EQ(f.airports[0].runways.size(), 1u);
    EXPECT_EQ(f.airports[0].runways[0].primary_designator, 0);
    EXPECT_EQ(f.vor_ils.size(), 0u);
    ASSERT_EQ(f.ndbs.size(), 1u);
    EXPECT_EQ(f.ndbs[0].ident, "ALB");

    /* A fault in every record: the list is bounded, the rest counted. */
    BglWriter faulty;
    for (int i = 0; i < 300; i++)
        faulty.add_ndb(ndb("CNA", 90000));
    f = read_of(faulty.bytes());
    EXPECT_EQ(f.problems.size(), (size_t)bgl_problem_room);
    EXPECT_EQ(f.problems_unlisted, 300 - bgl_problem_room);
}

}  // namespace
