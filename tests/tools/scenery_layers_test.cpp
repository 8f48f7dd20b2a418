#include <gtest/gtest.h>

#include "convert/converter.h"
#include "sources/scenery.h"
#include "test_files.h"

namespace {

/* The layers of a few made-up files handed to a converter writing into a
 * scratch folder: the two files' lines and the messages out. */
class Layers {
public:
    Layers() : messages_(tmpfile()), report_(messages_), converter_(Filters(), report_)
    {
        std::string error;
        converter_.open_outputs(dir_.path(), false, true, true, &error);
    }
    ~Layers() { fclose(messages_); }

    /* The next file, in an area of the given layer and number. */
    Layers &file(int layer, int area, BglFile f, const char *name = "X.BGL")
    {
        SceneryArea a;
        a.layer = layer;
        a.number = area;
        layers_.begin_area(a);
        layers_.add_file(name, f);
        return *this;
    }
    std::string runways() { run(); return dir_.read("Prwydata.txt"); }
    std::string navaids() { run(); return dir_.read("Pnavdata.txt"); }
    std::string messages()
    {
        std::string text(16384, '\0');
        rewind(messages_);
        text.resize(fread(&text[0], 1, text.size(), messages_));
        return text;
    }
    const LayerCounts &counts() const { return layers_.counts(); }
    const ConvertStats &stats() const { return converter_.stats(); }

private:
    void run()
    {
        if (done_)
            return;
        done_ = true;
        layers_.hand_to(converter_);
        converter_.finish(true);
        std::string error;
        EXPECT_TRUE(converter_.commit(&error)) << error;
    }

    ScratchFolder dir_;
    FILE *messages_;
    Report report_;
    Converter converter_;
    SceneryLayers layers_{report_};
    bool done_ = false;
};

BglRunway runway(int number, int designator, int secondary, double heading, double length_m,
                 const char *primary_ils = "", const char *secondary_ils = "")
{
    BglRunway r;
    r.primary_number = number;
    r.primary_designator = designator;
    r.secondary_number = secondary;
    r.secondary_designator = designator == 1 ? 2 : designator == 2 ? 1 : designator;
    r.heading = heading;
    r.length_m = length_m;
    r.primary_ils = primary_ils;
    r.secondary_ils = secondary_ils;
    r.surface = 4;
    return r;
}

BglAirport airport(const char *ident, const char *name, double variation,
                   std::vector<BglRunway> runways)
{
    BglAirport a;
    a.ident = ident;
    a.name = name;
    a.latitude = 47.0;
    a.longitude = 8.0;
    a.magnetic_variation = variation;
    a.runways = runways;
    return a;
}

BglVorIls ils(const char *ident, const char *airport, unsigned long hz, double heading,
              double variation, int number = 0, int designator = 0)
{
    BglVorIls v;
    v.type = BglVorIls::ils;
    v.flags = 1 | 8;
    v.ident = ident;
    v.airport = airport;
    v.region = "LS";
    v.frequency_hz = hz;
    v.has_localizer = true;
    v.localizer_heading = heading;
    v.localizer_runway_number = number;
    v.localizer_runway_designator = designator;
    v.magnetic_variation = variation;
    v.latitude = 47.0;
    v.longitude = 8.0;
    return v;
}

BglVorIls vor(const char *ident, const char *name, unsigned long hz, double lat, double lon,
              unsigned flags = 1 | 16, const char *region = "LS")
{
    BglVorIls v;
    v.type = BglVorIls::high;
    v.flags = flags;
    v.ident = ident;
    v.name = name;
    v.region = region;
    v.frequency_hz = hz;
    v.latitude = lat;
    v.longitude = lon;
    return v;
}

BglFile with(std::vector<BglAirport> airports, std::vector<BglVorIls> vor_ils = {},
             std::vector<BglNdb> ndbs = {})
{
    BglFile f;
    f.kind = BglKind::sectioned;
    f.airports = airports;
    f.vor_ils = vor_ils;
    f.ndbs = ndbs;
    return f;
}

TEST(SceneryCourses, TheStoredVariationWestPositiveEastAs360LessEast)
{
    /* west 3.5: true 100 reads 103.5 on the compass, rounded 104 */
    EXPECT_EQ(simulator_course(100.0, 3.5), 104);
    /* east 3.5 is stored 356.5: 179.58 true is 176.08 magnetic */
    EXPECT_EQ(simulator_course(179.58, 356.5), 176);
    EXPECT_EQ(simulator_course(358.0, 2.0), 360);
    EXPECT_EQ(simulator_course(1.0, 359.0), 360);
    EXPECT_EQ(simulator_course(350.0, 15.0), 5);
    EXPECT_EQ(runway_designator(9, 0), "09");
    EXPECT_EQ(runway_designator(27, 2), "27R");
    EXPECT_EQ(runway_designator(36, 3), "36C");
    EXPECT_EQ(runway_designator(18, 4), "18W");
    EXPECT_EQ(runway_designator(37, 4), "N");
    EXPECT_EQ(runway_designator(40, 0), "SE");
    EXPECT_EQ(runway_designator(44, 0), "NW");
    EXPECT_EQ(runway_designator(0, 0), "");
    EXPECT_EQ(runway_designator(45, 0), "");
}

TEST(SceneryLayers, TheHighestAirportWinsWholeWithTheIlsItsRunwaysName)
{
    Layers l;
    /* The base: LSZH with two runways, 14 on ILS IZH; a second airport. */
    l.file(1, 1,
           with({airport("LSZH", "Zurich", 358.0,
                         {runway(14, 0, 32, 137.0, 3300, "IZH"), runway(10, 0, 28, 95.0, 2500)}),
                 airport("LSGG", "Geneva", 359.0, {runway(5, 0, 23, 45.0, 3900)})},
                {ils("IZH", "LSZH", 108300000, 137.0, 358.0)}));
    /* An add-on above: LSZH again with a new ILS frequency and a third
     * runway; the old runway 10/28 is not in it. */
    l.file(10, 2,
           with({airport("LSZH", "Zurich Add-on", 357.0,
                         {runway(14, 0, 32, 137.0, 3300, "IZH"), runway(16, 0, 34, 155.0, 3700, "", "IKL")})},
                {ils("IZH", "LSZH", 110500000, 137.2, 357.0), ils("IKL", "LSZH", 109300000, 335.0, 357.0)}));
    std::string runways = l.runways();
    /* 14: localizer 137.2 true, 3 east (357): 134.2, 134.  32: 317 true +
     * 357 = 314.  16: 155 + 357 = 152.  34: ILS 335 true, 357: 332. */
    EXPECT_EQ(runways,
              "LSGG GENEVA 05_-_12795_0_044 23_-_12795_0_224\n"
              "LSZH ZURICH_ADD-ON 14_IZH_10827_110.50_134 32_-_10827_0_314 "
              "16_-_12139_0_152 34_IKL_12139_109.30_332\n");
    EXPECT_EQ(l.counts().airports, 2);
    EXPECT_EQ(l.counts().airports_replaced, 1);
    EXPECT_EQ(l.counts().ils_replaced, 1);
    EXPECT_EQ(l.counts().ils_joined_by_ident, 2);
    EXPECT_EQ(l.stats().courses_source, 6);
    EXPECT_EQ(l.messages(), "");
}

TEST(SceneryLayers, AnUpperRecordWithoutRunwaysAndWhatItsDeleteAirportRemoves)
{
    Layers l;
    l.file(1, 1,
           with({airport("AAAA", "Kept", 0, {runway(9, 0, 27, 90, 1000), runway(18, 0, 36, 180, 900)}),
                 airport("BBBB", "Deleted", 0, {runway(9, 0, 27, 90, 1000)}),
                 airport("CCCC", "One deleted", 0, {runway(9, 0, 27, 90, 1000), runway(18, 0, 36, 180, 900)})}));
    BglAirport kept = airport("AAAA", "Kept above", 0, {});
    BglAirport all = airport("BBBB", "Deleted above", 0, {});
    BglDeletion everything;
    everything.flags = bgl_delete_all_runways;
    all.deletions.push_back(everything);
    BglAirport one = airport("CCCC", "One deleted above", 0, {});
    BglDeletion listed;
    listed.runways.push_back(BglDeletion::Runway{18, 36, 0, 0});
    one.deletions.push_back(listed);
    l.file(5, 2, with({kept, all, one}), "ADDON.BGL");
    EXPECT_EQ(l.runways(), "AAAA KEPT_ABOVE 09_-_3281_0_090 27_-_3281_0_270 18_-_2953_0_180 36_-_2953_0_360\n"
                           "CCCC ONE_DELETED_ABOVE 09_-_3281_0_090 27_-_3281_0_270\n");
    EXPECT_EQ(l.stats().skipped_no_runway, 1);
    EXPECT_EQ(l.counts().runways_kept_from_below, 1);
    EXPECT_EQ(l.counts().airports_deleting, 2);
    EXPECT_EQ(l.messages(), "ADDON.BGL: offset 0: airport AAAA has no runways here and deletes none: "
                            "the 2 runways of X.BGL: offset 0 are kept\n");
}

TEST(SceneryLayers, NavaidsByIdentRegionAndPlace)
{
    Layers l;
    BglNdb ndb;
    ndb.ident = "ZH";
    ndb.name = "Zurich";
    ndb.region = "LS";
    ndb.frequency = 362000;     /* Hz */
    ndb.latitude = 47.4;
    ndb.longitude = 8.5;
    BglNdb khz = ndb;
    khz.ident = "KZ";
    khz.frequency = 415;        /* kHz, as some documents give it */
    l.file(1, 1,
           with({}, {vor("ZUE", "Zurich East", 110050000, 47.59, 8.81),
                     vor("ZUE", "Zurich far", 110050000, 48.0, 8.81),
                     vor("ZUE", "Zurich other region", 110050000, 47.59, 8.81, 1 | 16, "ED"),
                     vor("DME", "Dme only", 112000000, 47.0, 8.0, 16)},
                {ndb, khz}));
    /* Above: ZUE 0.05 degree away on a new frequency; the DME-only
     * station turned into a VOR-DME. */
    l.file(3, 7,
           with({}, {vor("ZUE", "Zurich East new", 116300000, 47.62, 8.83),
                     vor("DME", "Now a VOR", 112000000, 47.0, 8.0)}));
    EXPECT_EQ(l.navaids(), "ZUE ZURICH_EAST_NEW VOR 116.30\n"
                           "ZUE ZURICH_FAR VOR 110.05\n"
                           "ZUE ZURICH_OTHER_REGION VOR 110.05\n"
                           "DME NOW_A_VOR VOR 112.00\n"
                           "ZH ZURICH NDB 362\n"
                           "KZ ZURICH NDB 415\n");
    EXPECT_EQ(l.counts().vors, 4);
    EXPECT_EQ(l.counts().vors_replaced, 2);
}

TEST(SceneryLayers, DmeOnlyVotAndIlsAreNoNavaidLines)
{
    Layers l;
    BglVorIls vot = vor("VOT", "Test", 108000000, 47.0, 8.0);
    vot.type = BglVorIls::vot;
    l.file(1, 1,
           with({airport("LSZH", "Zurich", 0, {runway(14, 0, 32, 140, 3000, "IZH")})},
                {vor("DME", "Dme", 112000000, 47.0, 8.0, 16), vot, ils("IZH", "LSZH", 108300000, 140, 0)}));
    EXPECT_EQ(l.navaids(), "");
    EXPECT_EQ(l.stats().navaids_other_type, 2);
    EXPECT_EQ(l.stats().navaids_written, 0);
}

TEST(SceneryLayers, IlsJoinsTheEndThatNamesItElseItsLocalizersRunway)
{
    Layers l;
    l.file(1, 1,
           with({airport("KXYZ", "Test", 0,
                         {runway(9, 1, 27, 90, 3000, "IAAA", "IAAA"), runway(9, 2, 27, 90, 3000, "INOT"),
                          runway(18, 0, 36, 180, 2000)})},
                {/* named by both ends of 09L/27R: serves the end it points along */
                 ils("IAAA", "KXYZ", 110100000, 270.0, 0),
                 /* names no end, but its localizer names 36 */
                 ils("IBBB", "KXYZ", 110100000, 0.5, 0, 36, 0),
                 /* of another airport, not this one */
                 ils("INOT", "KQQQ", 111100000, 90, 0),
                 /* its localizer names 18 but nothing names it, and 18 is free: joins */
                 ils("ICCC", "KXYZ", 109900000, 180, 0, 18, 0),
                 /* a runway that is not there */
                 ils("IDDD", "KXYZ", 109500000, 50, 0, 5, 0)}));
    EXPECT_EQ(l.runways(),
              "KXYZ TEST 09L_-_9843_0_090 27R_IAAA_9843_110.10_270 09R_-_9843_0_090 "
              "27L_-_9843_0_270 18_ICCC_6562_109.90_180 36_IBBB_6562_110.10_001\n");
    std::string m = l.messages();
    EXPECT_NE(m.find("airport KXYZ runway 09L names ILS IAAA, which serves its runway 27R"), std::string::npos) << m;
    EXPECT_NE(m.find("airport KXYZ runway 09R names ILS INOT, which is no VOR/ILS record of KXYZ"), std::string::npos) << m;
    EXPECT_NE(m.find("ILS INOT joins no runway end: no airport KQQQ in the scenery"), std::string::npos) << m;
    EXPECT_NE(m.find("ILS IDDD joins no runway end: no runway end of KXYZ names it, and its localizer's runway 05"), std::string::npos) << m;
    EXPECT_EQ(l.counts().ils_joined_by_ident, 1);
    EXPECT_EQ(l.counts().ils_joined_by_runway, 2);
    EXPECT_EQ(l.counts().ils_joining_none, 2);
}

TEST(SceneryLayers, RepeatsWithinOneLayerTakeTheLaterAndAreReported)
{
    Layers l;
    l.file(4, 1, with({airport("AAAA", "First", 0, {runway(9, 0, 27, 90, 1000)})}), "A.BGL");
    l.file(4, 2, with({airport("AAAA", "Second", 0, {runway(9, 0, 27, 90, 1000)})}), "B.BGL");
    EXPECT_EQ(l.runways(), "AAAA SECOND 09_-_3281_0_090 27_-_3281_0_270\n");
    EXPECT_EQ(l.messages(), "B.BGL: offset 0: airport AAAA again in the same layer (4, first in "
                            "A.BGL: offset 0): this later one is taken\n");
}

}  // namespace
