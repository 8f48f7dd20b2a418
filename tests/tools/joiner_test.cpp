#include <gtest/gtest.h>

#include <stdio.h>

#include "common/geometry.h"
#include "convert/joiner.h"

namespace {

/* A runway's two ends between two thresholds, headings from the places. */
void add_runway(Airport &a, const char *low, double lat1, double lon1, const char *high,
                double lat2, double lon2, double heading)
{
    RunwayEnd e1, e2;
    e1.designator = low;
    e2.designator = high;
    e1.has_position = e2.has_position = e1.has_far_end = e2.has_far_end = true;
    e1.latitude = e2.far_latitude = lat1;
    e1.longitude = e2.far_longitude = lon1;
    e2.latitude = e1.far_latitude = lat2;
    e2.longitude = e1.far_longitude = lon2;
    e1.heading = heading;
    e2.heading = heading + 180;
    a.ends.push_back(e1);
    a.ends.push_back(e2);
}

/* Seattle's old 16L: its localizer lies 230 m beyond the 34R threshold. */
Localizer old_16l_localizer(bool ils = true, const char *ident = "ISNQ")
{
    Localizer l;
    l.airport = "KSEA";
    l.runway = "16L";
    l.ident = ident;
    l.bearing = 180.25;
    l.latitude = 47.42939;
    l.longitude = -122.30806;
    l.with_glide_slope = ils;
    l.frequency = 11030;
    l.source = SourceLine{"nav.dat", 1};
    return l;
}

const double east_2500m = 0.033;                     /* degrees of longitude at 47.4 N */

struct Join {
    FILE *messages = tmpfile();
    Report report{messages};
    LocalizerJoiner joiner{report};
    ~Join() { fclose(messages); }
    std::string text()
    {
        std::string all(4096, '\0');
        rewind(messages);
        all.resize(fread(&all[0], 1, all.size(), messages));
        return all;
    }
};

TEST(JoinByPlace, ARenumberedRunwayKeepsItsLocalizer)
{
    Join j;
    j.joiner.add(old_16l_localizer());
    Airport a;
    a.ident = "KSEA";
    /* The old 16L is 16C now; a new runway 2.5 km east took the name 16L. */
    add_runway(a, "16L", 47.4638, -122.3078 + east_2500m, "34R", 47.4315,
               -122.3080 + east_2500m, 180.2);
    add_runway(a, "16C", 47.4638, -122.3078, "34C", 47.4315, -122.3080, 180.2);
    std::vector<RunwayEnd> ends = a.ends;
    j.joiner.join(a, ends);
    EXPECT_EQ(ends[0].localizer, nullptr);               /* the new 16L */
    ASSERT_NE(ends[2].localizer, nullptr);               /* the old place, now 16C */
    EXPECT_EQ(ends[2].localizer->ident, "ISNQ");
    EXPECT_EQ(j.joiner.count(Localizer::State::joined), 1);
}

/* A join its source made itself (the simulator's scenery names each end's
 * ILS) stands whatever the places say: the same case as above keeps the
 * localizer on the end it was given, and it comes before another that
 * merely fits there. */
TEST(JoinBySource, TheSourcesJoinIsNeverUndoneByPlace)
{
    Join j;
    Localizer given = old_16l_localizer();
    given.joined_by_source = true;
    j.joiner.add(given);
    Localizer fitting = old_16l_localizer(true, "ISEA");
    fitting.runway = "16C";
    j.joiner.add(fitting);
    Airport a;
    a.ident = "KSEA";
    add_runway(a, "16L", 47.4638, -122.3078 + east_2500m, "34R", 47.4315,
               -122.3080 + east_2500m, 180.2);
    add_runway(a, "16C", 47.4638, -122.3078, "34C", 47.4315, -122.3080, 180.2);
    std::vector<RunwayEnd> ends = a.ends;
    j.joiner.join(a, ends);
    ASSERT_NE(ends[0].localizer, nullptr);
    EXPECT_EQ(ends[0].localizer->ident, "ISNQ");
    ASSERT_NE(ends[2].localizer, nullptr);
    EXPECT_EQ(ends[2].localizer->ident, "ISEA");
    EXPECT_EQ(j.joiner.joined_by_place(), 0);

    /* Two on one end: the source's wins over a better geometric fit. */
    Join k;
    Localizer by_name = old_16l_localizer(true, "IFIT");
    by_name.runway = "16C";
    k.joiner.add(by_name);
    Localizer source = old_16l_localizer(false, "ISRC");
    source.runway = "16C";
    source.bearing = 200;
    source.joined_by_source = true;
    k.joiner.add(source);
    ends = a.ends;
    k.joiner.join(a, ends);
    ASSERT_NE(ends[2].localizer, nullptr);
    EXPECT_EQ(ends[2].localizer->ident, "ISRC");
    EXPECT_EQ(k.joiner.count(Localizer::State::spare), 1);
}

TEST(JoinByPlace, ANewRunwayElsewhereWithTheOldDesignatorGetsNothing)
{
    Join j;
    j.joiner.add(old_16l_localizer());
    Airport a;
    a.ident = "KSEA";
    add_runway(a, "16L", 47.4638, -122.3078 + east_2500m, "34R", 47.4315,
               -122.3080 + east_2500m, 180.2);
    std::vector<RunwayEnd> ends = a.ends;
    j.joiner.join(a, ends);
    EXPECT_EQ(ends[0].localizer, nullptr);
    EXPECT_EQ(j.joiner.count(Localizer::State::no_runway), 1);
}

TEST(JoinByPlace, TheOppositeEndAndAWrongDirectionDoNotFit)
{
    Airport a;
    add_runway(a, "16L", 47.4638, -122.3078, "34R", 47.4315, -122.3080, 180.2);
    Localizer l = old_16l_localizer();
    EXPECT_GE(localizer_fit(l, a.ends[0], FitTest::place), 0);
    EXPECT_LT(localizer_fit(l, a.ends[1], FitTest::place), 0);    /* 34R points north */
    l.bearing = 195;                                     /* 15 degrees off: only as offset */
    EXPECT_LT(localizer_fit(l, a.ends[0], FitTest::place), 0);
    EXPECT_GE(localizer_fit(l, a.ends[0], FitTest::named), 0);
    l.bearing = 180.25;
    l.latitude = 47.40;                                  /* 3.5 km beyond: still fits */
    EXPECT_GE(localizer_fit(l, a.ends[0], FitTest::place), 0);
    l.latitude = 47.38;                                  /* 5.7 km beyond: too far */
    EXPECT_LT(localizer_fit(l, a.ends[0], FitTest::named), 0);
}

TEST(JoinByPlace, EndsWithoutPlacesJoinByDesignatorAndAnIlsComesFirst)
{
    Join j;
    j.joiner.add(old_16l_localizer(false, "ILOC"));
    j.joiner.add(old_16l_localizer(true, "IILS"));
    Airport a;
    a.ident = "KSEA";
    RunwayEnd e;
    e.designator = "16L";
    a.ends.push_back(e);
    std::vector<RunwayEnd> ends = a.ends;
    j.joiner.join(a, ends);
    ASSERT_NE(ends[0].localizer, nullptr);
    EXPECT_EQ(ends[0].localizer->ident, "IILS");
    EXPECT_EQ(j.joiner.count(Localizer::State::spare), 1);
}

/* A runway between two thresholds, as apt.dat gives it: the headings from
 * the places. */
void add_placed(Airport &a, const char *low, double lat1, double lon1, const char *high,
                double lat2, double lon2)
{
    add_runway(a, low, lat1, lon1, high, lat2, lon2, bearing_degrees(lat1, lon1, lat2, lon2));
    a.ends.back().heading = bearing_degrees(lat2, lon2, lat1, lon1);
}

Localizer named(const char *airport, const char *runway, const char *ident, double bearing,
                double lat, double lon)
{
    Localizer l = old_16l_localizer(true, ident);
    l.airport = airport;
    l.runway = runway;
    l.bearing = bearing;
    l.latitude = lat;
    l.longitude = lon;
    return l;
}

/* The designator of the end a localizer went to, "" when none. */
std::string joined_to(const std::vector<RunwayEnd> &ends, const char *ident)
{
    for (const RunwayEnd &e : ends)
        if (e.localizer && e.localizer->ident == ident)
            return e.designator;
    return "";
}

/* Close parallels and lanes beside runways: the place fits several ends
 * alike (better the wrong one, in these sources), the name tells them
 * apart.  Places as FlightGear's world data gives them. */
TEST(JoinByName, CloseParallelsAndWaterLanesGoToTheEndTheSourceNames)
{
    Join j;
    j.joiner.add(named("KHWD", "28L", "IHWD", 302.0, 37.662833, -122.129653));
    j.joiner.add(named("KSFF", "21R", "IFLZ", 238.974, 47.681772, -117.328050));
    j.joiner.add(named("UHPP", "34R", "IPR", 335.545, 53.191667, 158.436667));
    Airport hwd, sff, hpp;
    hwd.ident = "KHWD";
    sff.ident = "KSFF";
    hpp.ident = "UHPP";
    add_placed(hwd, "10R", 37.662044, -122.129792, "28L", 37.654261, -122.112733);
    add_placed(hwd, "10L", 37.662475, -122.127261, "28R", 37.658228, -122.117953);
    add_placed(sff, "03L", 47.679203, -117.331383, "21R", 47.686419, -117.316572);
    add_placed(sff, "03R", 47.680378, -117.325508, "21L", 47.685281, -117.315436);
    add_placed(sff, "03", 47.685128, -117.327280, "21", 47.694309, -117.306983);   /* water */
    add_placed(hpp, "16L", 53.184186, 158.444025, "34R", 53.156006, 158.463711);
    add_placed(hpp, "16R", 53.176083, 158.446238, "34L", 53.155267, 158.460696);
    std::vector<RunwayEnd> ends[3] = {hwd.ends, sff.ends, hpp.ends};
    j.joiner.join(hwd, ends[0]);
    j.joiner.join(sff, ends[1]);
    j.joiner.join(hpp, ends[2]);
    EXPECT_EQ(joined_to(ends[0], "IHWD"), "28L");
    EXPECT_EQ(joined_to(ends[1], "IFLZ"), "21R");
    EXPECT_EQ(joined_to(ends[2], "IPR"), "34R");
    EXPECT_EQ(j.joiner.joined_by_place(), 0);
}

/* Antennas the close test of place refuses but the runway's own
 * designator admits: KBUR's IBUR 2 km short of the far end, KGSO's ILLG
 * beyond the near end; an offset one 20 degrees off. */
TEST(JoinByName, AnAntennaShortOfTheFarEndOrBeyondTheNearEndStillFits)
{
    Join j;
    j.joiner.add(named("KBUR", "08", "IBUR", 90.84, 34.19795, -118.372475));
    j.joiner.add(named("KGSO", "5L", "ILLG", 45.881, 36.097311, -79.964308));
    j.joiner.add(named("KGSO", "23R", "IIDB", 225.866, 36.097311, -79.961531));
    Airport bur, gso;
    bur.ident = "KBUR";
    gso.ident = "KGSO";
    add_placed(bur, "08", 34.197911, -118.369266, "26", 34.197652, -118.349935);
    add_placed(gso, "05L", 36.099256, -79.959050, "23R", 36.116433, -79.937139);
    std::vector<RunwayEnd> bur_ends = bur.ends, gso_ends = gso.ends;
    j.joiner.join(bur, bur_ends);
    j.joiner.join(gso, gso_ends);
    EXPECT_EQ(joined_to(bur_ends, "IBUR"), "08");
    EXPECT_EQ(joined_to(gso_ends, "ILLG"), "05L");
    EXPECT_EQ(joined_to(gso_ends, "IIDB"), "23R");
    EXPECT_LT(localizer_fit(*bur_ends[0].localizer, bur_ends[0], FitTest::place), 0);

    Localizer l = *bur_ends[0].localizer;
    l.bearing = 110;                                     /* an offset localizer */
    EXPECT_GE(localizer_fit(l, bur_ends[0], FitTest::named), 0);
    l.bearing = 130;                                     /* beyond the offset limit */
    EXPECT_LT(localizer_fit(l, bur_ends[0], FitTest::named), 0);
    l.bearing = 90.84;
    l.latitude = 34.197911 + 0.018;                      /* 2 km abeam */
    EXPECT_LT(localizer_fit(l, bur_ends[0], FitTest::named), 0);
}

/* A renumbered runway: the name fits nothing, the place decides and is
 * counted; where the named end fits too, the one joined by name wins. */
TEST(JoinByName, PlaceDecidesOnlyWhereTheNameFitsNothing)
{
    Join j;
    j.joiner.add(old_16l_localizer(true, "IOLD"));       /* named 16L */
    Localizer own = old_16l_localizer(false, "IOWN");
    own.runway = "16C";
    j.joiner.add(own);
    Airport a;
    a.ident = "KSEA";
    add_placed(a, "16C", 47.4638, -122.3078, "34C", 47.4315, -122.3080);
    std::vector<RunwayEnd> ends = a.ends;
    j.joiner.join(a, ends);
    ASSERT_NE(ends[0].localizer, nullptr);
    EXPECT_EQ(ends[0].localizer->ident, "IOWN");         /* a LOC by name before an ILS by place */
    EXPECT_EQ(j.joiner.count(Localizer::State::spare), 1);
    EXPECT_EQ(j.joiner.joined_by_place(), 0);

    Join k;
    k.joiner.add(old_16l_localizer(true, "IOLD"));
    std::vector<RunwayEnd> alone = a.ends;
    k.joiner.join(a, alone);
    EXPECT_EQ(joined_to(alone, "IOLD"), "16C");
    EXPECT_EQ(k.joiner.joined_by_place(), 1);
}

/* Codes an airport is also known by join too; a localizer found only
 * through such a code that fits none of the airport's ends stays for the
 * airport whose own code it is. */
TEST(JoinByName, AliasesJoinButDoNotTakeAnotherAirportsLocalizer)
{
    Join j;
    j.joiner.add(named("S50", "16", "IAUB", 163, 47.321, -122.2229));
    Airport elsewhere, auburn;
    elsewhere.ident = "ZZZZ";
    elsewhere.aliases = {"S50"};
    add_placed(elsewhere, "16", 10.0, 10.0, "34", 9.99, 10.0);
    auburn.ident = "KS50";
    auburn.aliases = {"KS50", "S50"};
    add_placed(auburn, "16", 47.3327, -122.2268, "34", 47.3217, -122.2231);
    std::vector<RunwayEnd> first = elsewhere.ends, second = auburn.ends;
    j.joiner.join(elsewhere, first);
    EXPECT_EQ(j.joiner.count(Localizer::State::unseen), 1);
    j.joiner.join(auburn, second);
    EXPECT_EQ(joined_to(second, "IAUB"), "16");

    Join k;                                              /* Auburn never comes */
    k.joiner.add(named("S50", "16", "IAUB", 163, 47.321, -122.2229));
    first = elsewhere.ends;
    k.joiner.join(elsewhere, first);
    k.joiner.finish();
    EXPECT_NE(k.text().find("localizer IAUB (S50 16): no airport S50 but one known also by "
                            "that code, ZZZZ, whose runway ends it does not fit"),
              std::string::npos)
        << k.text();
}

}  // namespace
