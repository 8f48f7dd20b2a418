#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/check.h"
#include "test_files.h"

namespace {

std::vector<std::string> runway_findings(const char *record)
{
    std::vector<Finding> findings;
    check_runway_record(record, 1, &findings);
    std::vector<std::string> reasons;
    for (const Finding &f : findings)
        reasons.push_back(f.reason);
    return reasons;
}

class CollectedFindings : public FindingSink {
public:
    void finding(const Finding &f) override { all.push_back(f); }
    std::vector<Finding> all;
};

std::vector<Finding> file_findings(const std::string &bytes, DataKind kind = DataKind::runways)
{
    ScratchFolder dir;
    CollectedFindings collected;
    CheckSummary summary;
    std::string error;
    EXPECT_TRUE(check_data_file(dir.write("Prwydata.txt", bytes), kind, &collected, &summary,
                                &error))
        << error;
    return collected.all;
}

TEST(CheckRecord, WhatTheModuleReadsRightIsClean)
{
    EXPECT_TRUE(runway_findings("KSEA SEATTLE 16L_ISNQ_11796_110.30_180 34R_-_11796_0_005").empty());
    EXPECT_TRUE(runway_findings("KSEA SEATTLE").empty());
    /* Two underscores read as one separator; a leading one stays in the designator. */
    EXPECT_TRUE(runway_findings("KSEA SEATTLE 16L__-_1_0_360 _X_-_1_0_090").empty());
    std::vector<Finding> none;
    check_navaid_record("SEA SEATTLE vor 116.80\r\n", 1, &none);
    check_navaid_record("BF NOLLA NDB 362", 1, &none);
    EXPECT_TRUE(none.empty());
}

TEST(CheckRecord, EachFaultOnce)
{
    EXPECT_EQ(runway_findings("KSEA SEATTLE 16L_-_1_0_361").size(), 1u);
    EXPECT_EQ(runway_findings("KSEA SEATTLE 16L_-_1_0").size(), 1u);
    EXPECT_EQ(runway_findings("KSEA SEATTLE 16L_-_1_11030_180").size(), 1u);
    EXPECT_EQ(runway_findings("KSEA SEATTLE 16L_-_1_110.30_18O").size(), 1u);
    EXPECT_EQ(runway_findings("KSEA Seattle 16L_-_1_0_180").size(), 1u);
    std::vector<Finding> f;
    check_navaid_record("SEA SEATTLE VOR-DME 116.80", 1, &f);
    EXPECT_EQ(f.size(), 2u);                                 /* not VOR, and not kHz */
}

std::vector<std::string> navaid_findings(const char *record)
{
    std::vector<Finding> findings;
    check_navaid_record(record, 1, &findings);
    std::vector<std::string> reasons;
    for (const Finding &f : findings)
        reasons.push_back(f.reason);
    return reasons;
}

TEST(CheckRecord, FrequenciesOutsideTheirBands)
{
    /* Localizers: 108.00 to 117.95 MHz, as the converter writes them. */
    EXPECT_TRUE(runway_findings("KSEA S 16L_I_1_108.00_180 16R_I_1_117.95_180").empty());
    for (const char *line : {"KSEA S 16L_I_1_107.95_180", "KSEA S 16L_I_1_118.00_180",
                             "KSEA S 16L_I_1_999.99_180", "KSEA S 16L_I_1_000.00_180"}) {
        std::vector<std::string> f = runway_findings(line);
        ASSERT_EQ(f.size(), 1u) << line;
        EXPECT_NE(f[0].find("outside the localizer band 108.00-117.95 MHz"), std::string::npos)
            << f[0];
    }
    /* VORs: 108.00 to 117.95 MHz. */
    EXPECT_TRUE(navaid_findings("SEA S VOR 108.00").empty());
    EXPECT_TRUE(navaid_findings("SEA S VOR 117.95").empty());
    EXPECT_EQ(navaid_findings("SEA S VOR 118.00"),
              (std::vector<std::string>{"VOR frequency '118.00' is outside the VOR band "
                                        "108.00-117.95 MHz: the module tunes NAV1 to it all the "
                                        "same"}));
    EXPECT_EQ(navaid_findings("SEA S vor 107.99").size(), 1u);
    /* NDBs: 190 to 1750 kHz, 0 tunes nothing at all. */
    EXPECT_TRUE(navaid_findings("BF S NDB 190").empty());
    EXPECT_TRUE(navaid_findings("BF S NDB 1750").empty());
    EXPECT_TRUE(navaid_findings("BF S NDB 0362").empty());
    EXPECT_EQ(navaid_findings("BF S NDB 99999"),
              (std::vector<std::string>{"NDB frequency '99999' is outside the NDB band 190-1750 "
                                        "kHz: the module tunes the ADF to it all the same"}));
    EXPECT_EQ(navaid_findings("BF S NDB 189").size(), 1u);
    EXPECT_NE(navaid_findings("BF S NDB 0")[0].find("sends nothing"), std::string::npos);
    /* A type other than VOR is tuned as an NDB, so its band is the NDB's. */
    EXPECT_EQ(navaid_findings("BF S DME 113").size(), 2u);
}

TEST(CheckRecord, CoursesOneTo360)
{
    EXPECT_TRUE(runway_findings("KSEA S 16L_I_1_110.30_001 34R_I_1_110.30_360").empty());
    /* Without a localizer nothing is tuned: an unknown course 000 does no harm. */
    EXPECT_TRUE(runway_findings("KSEA S 16L_-_1_0_000").empty());
    for (const char *line : {"KSEA S 16L_I_1_110.30_000", "KSEA S 16L_I_1_110.30_361",
                             "KSEA S 16L_I_1_110.30_1e308", "KSEA S 16L_I_1_110.30_-5",
                             "KSEA S 16L_I_1_110.30_nan", "KSEA S 16L_I_1_110.30_180.5",
                             "KSEA S 16L_-_1_0_0360"}) {
        std::vector<std::string> f = runway_findings(line);
        ASSERT_EQ(f.size(), 1u) << line;
        EXPECT_NE(f[0].find("is not whole degrees from 1 to 360"), std::string::npos) << f[0];
    }
}

TEST(CheckRecord, BytesOutsideAsciiShownAsHex)
{
    EXPECT_EQ(runway_findings("k\xE9\x01 S"),
              (std::vector<std::string>{
                  "code 'k\\xE9\\x01' has lower-case letters: only the exact test finds it"}));
}

TEST(CheckFile, SplitLinesAtTheReadLimit)
{
    const std::string head = "KSEA ";
    std::string fits = head + std::string(988 - head.size(), 'A') + "\n";    /* 989 with LF */
    std::string split = head + std::string(989 - head.size(), 'A') + "\n";
    std::string last = head + std::string(989 - head.size(), 'A');         /* no line end */

    bool found = false;
    for (const Finding &f : file_findings(fits + "KBFI BOEING\n"))
        found = found || f.reason.find("longer than 989") != std::string::npos;
    EXPECT_FALSE(found);

    std::vector<Finding> findings = file_findings("KBFI BOEING\n" + split + "KPAE PAINE\n");
    found = false;
    for (const Finding &f : findings)
        if (f.reason.find("longer than 989") != std::string::npos) {
            EXPECT_EQ(f.line, 2);
            found = true;
        }
    EXPECT_TRUE(found);

    found = false;
    for (const Finding &f : file_findings("KBFI BOEING\n" + last))
        found = found || f.reason.find("longer than 989") != std::string::npos;
    EXPECT_FALSE(found);
}

TEST(CheckFile, CtrlZOnlyWhenSomethingFollowsIt)
{
    EXPECT_TRUE(file_findings("KSEA SEATTLE\r\n\x1a").empty());
    std::vector<Finding> f = file_findings("KSEA SEATTLE\r\nKBFI BOEING\x1a\r\nKPAE PAINE\r\n");
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].line, 2);
}

TEST(CheckFile, RepeatedCodesIgnoringLetterCase)
{
    std::vector<Finding> f = file_findings("KSEA A\nKBFI B\nKSEa C\nKSEA D\n");
    std::vector<long> lines;
    for (const Finding &x : f)
        if (x.reason.find("also on line") != std::string::npos)
            lines.push_back(x.line);
    EXPECT_EQ(lines, (std::vector<long>{3, 4}));
    /* Navaid codes repeat all over the world: every match is listed. */
    EXPECT_TRUE(file_findings("ABC ONE VOR 116.80\nABC TWO NDB 300\n", DataKind::navaids).empty());
}

TEST(CheckFile, KindFromTheName)
{
    DataKind kind;
    EXPECT_TRUE(data_kind_from_name("C:\\FS98\\PRWYDATA.TXT", &kind));
    EXPECT_EQ(kind, DataKind::runways);
    EXPECT_TRUE(data_kind_from_name("out/pnavdata.txt", &kind));
    EXPECT_EQ(kind, DataKind::navaids);
    EXPECT_FALSE(data_kind_from_name("Prwydata.txt.partial", &kind));
}

}  // namespace
