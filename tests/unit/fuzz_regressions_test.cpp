/*
 * Inputs at the edges that the fuzz targets (fuzz/) probe, kept here so that
 * make test checks them without clang: a CR LF pair at the read limit and at
 * a refill of the reader's block, a Ctrl-Z that comes with a refill, zero
 * bytes inside a line, and entries cut by a small room.  No fuzz run has
 * crashed so far; an input that does joins these cases.
 */
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "selection/facility_file.h"
#include "selection/searches.h"

namespace {

/* Every read of bytes, as facility_next_line finds them. */
std::vector<std::string> reads_of(const std::string &bytes)
{
    static FacilityFile file;
    file.stream = tmpfile();
    EXPECT_NE(file.stream, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), file.stream);
    rewind(file.stream);
    file.pos = file.len = 0;
    file.at_end = false;
    std::vector<std::string> reads;
    FacilityLine line;
    while (facility_next_line(&file, &line, line_limit))
        reads.push_back(std::string(line.text, line.length));
    facility_close(&file);
    return reads;
}

TEST(FuzzRegressions, CrLfAtTheReadLimit)
{
    /* 988 characters and CR LF read as 988 and an LF: one read. */
    const std::string a(988, 'A');
    EXPECT_EQ(reads_of(a + "\r\nB"), (std::vector<std::string>{a + "\n", "B"}));
    /* 989 characters fill a read; the CR LF after them is the next one. */
    const std::string b(989, 'B');
    EXPECT_EQ(reads_of(b + "\r\nC"), (std::vector<std::string>{b, "\n", "C"}));
    /* A CR as the 989th character, an LF after it: still one pair. */
    EXPECT_EQ(reads_of(a + "\r\n"), (std::vector<std::string>{a + "\n"}));
    EXPECT_EQ(reads_of(a + "\r\r\n"), (std::vector<std::string>{a + "\r", "\n"}));
}

TEST(FuzzRegressions, PairsAndCtrlZAtARefill)
{
    /* Lines of 10 bytes up to the block's end, then a CR there and the LF
     * with the next fill. */
    std::string bytes;
    while (bytes.size() + 10 < facility_block_room)
        bytes += "KSEA 1234\n";
    bytes += std::string(facility_block_room - 1 - bytes.size(), 'x') + "\r\nEGLL\r\n";
    std::vector<std::string> reads = reads_of(bytes);
    ASSERT_GE(reads.size(), 2u);
    EXPECT_EQ(reads[reads.size() - 2].back(), '\n');
    EXPECT_EQ(reads[reads.size() - 2].find('\r'), std::string::npos);
    EXPECT_EQ(reads.back(), "EGLL\n");
    /* A Ctrl-Z that comes in with the second fill ends the file there. */
    std::string ends = std::string(facility_block_room + 500, 'y') + "\r\x1a" + "HIDDEN\n";
    reads = reads_of(ends);
    ASSERT_FALSE(reads.empty());
    EXPECT_EQ(reads.back().back(), '\r');
    size_t total = 0;
    for (const std::string &r : reads)
        total += r.size();
    EXPECT_EQ(total, facility_block_room + 501);
}

TEST(FuzzRegressions, ZeroBytesEndALinesText)
{
    const std::string bytes("KSEA NAME\0HIDDEN TOKENS\n", 24);
    const FacilityLine line = {bytes.data(), bytes.size()};
    LeadingFields from_line, from_string;
    read_leading_fields(line, &from_line);
    read_leading_fields(bytes.c_str(), &from_string);
    EXPECT_STREQ(from_line.code, "KSEA");
    EXPECT_STREQ(from_line.name, "NAME");
    EXPECT_STREQ(from_line.third, "");
    EXPECT_STREQ(from_string.name, "NAME");
    EXPECT_STREQ(from_string.third, "");
    /* A zero byte first: no tokens at all. */
    const FacilityLine empty = {"\0KSEA", 5};
    read_leading_fields(empty, &from_line);
    EXPECT_STREQ(from_line.code, "");
}

TEST(FuzzRegressions, EntriesCutAsSnprintfCutsThem)
{
    char short_form[32], long_form[32];
    entry_printf_format(short_entry_format, short_form, sizeof short_form);
    entry_printf_format(long_entry_format, long_form, sizeof long_form);
    char got[entry_room], want[entry_room];
    for (size_t room : {0u, 1u, 2u, 5u, 7u, 11u, 12u, 44u}) {
        memset(got, '#', sizeof got);
        memset(want, '#', sizeof want);
        format_short_entry(got, room, "KSEA", "SEATTLE_TACOMA_INTL");
        snprintf(want, room, short_form, "KSEA", "SEATTLE_TACOMA_INTL");
        EXPECT_EQ(std::string(got, sizeof got), std::string(want, sizeof want)) << room;
        format_long_entry(got, room, "SEA", "SEATTLE", "VOR", "116.80");
        snprintf(want, room, long_form, "SEA", "SEATTLE", "VOR", "116.80");
        EXPECT_EQ(std::string(got, sizeof got), std::string(want, sizeof want)) << room;
    }
}

}  // namespace
