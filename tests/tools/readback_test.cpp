/* The converter's output read back by the module itself: its searches list
 * every airport and navaid of the golden files (which the golden test holds
 * equal to the converter's output), and a double-click on any entry tunes
 * what the data says. */
#include <gtest/gtest.h>

#include <string.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "module/interface/host_interface.h"
#include "selection/facility_file.h"
#include "selection/searches.h"
#include "selection/tuning.h"
#include "test_files.h"

namespace {

class ArrayList : public ListControl {
public:
    std::vector<std::string> entries;
    int chosen = -1;
    void clear() override { entries.clear(), chosen = -1; }
    bool add(const char *entry) override
    {
        entries.push_back(entry);
        return true;
    }
    void select(int index) override { chosen = index; }
    int count() override { return (int)entries.size(); }
    int selected() override { return chosen; }
    bool text(int index, char *out, size_t room) override
    {
        if (index < 0 || index >= count() || entries[index].size() > room)
            return false;
        strcpy(out, entries[index].c_str());
        return true;
    }
};

std::vector<std::string> words_of_lines(const std::string &path, size_t word)
{
    std::vector<std::string> out;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string w;
        for (size_t i = 0; i <= word && words >> w; i++)
            if (i == word)
                out.push_back(w);
    }
    return out;
}

/* Runs the module's searches in a folder holding one golden case's files. */
class GoldenFiles : public ::testing::TestWithParam<const char *> {
protected:
    void SetUp() override
    {
        source_ = std::string(PELMORA_TOOL_TESTS_DIR) + "/expected/" + GetParam() + "/";
        for (const char *name : {RUNWAY_FILE_NAME, NAVAID_FILE_NAME}) {
            std::ifstream in(source_ + name, std::ios::binary);
            std::stringstream bytes;
            bytes << in.rdbuf();
            dir_.write(name, bytes.str());
        }
        ASSERT_TRUE(getcwd(saved_cwd_, sizeof saved_cwd_));
        ASSERT_EQ(chdir(dir_.path().c_str()), 0);
    }
    void TearDown() override { EXPECT_EQ(chdir(saved_cwd_), 0); }

    std::string source_;
    ScratchFolder dir_;
    char saved_cwd_[4096];
};

TEST_P(GoldenFiles, EveryAirportListsItsRunwaysAndTunesThem)
{
    std::vector<std::string> codes = words_of_lines(source_ + RUNWAY_FILE_NAME, 0);
    ASSERT_FALSE(codes.empty());
    for (const std::string &code : codes) {
        ArrayList pick, results;
        icao_lookup(code.c_str(), true, pick, results);
        bool picked = false;
        for (const std::string &entry : pick.entries) {
            std::istringstream words(entry);
            std::string first;
            words >> first;
            picked = picked || first == code;
        }
        EXPECT_TRUE(picked) << code;
        EXPECT_FALSE(results.entries.empty()) << code;
        for (const std::string &entry : results.entries) {
            TuningEvents events = tuning_events(entry.c_str(), true);
            std::istringstream words(entry);
            std::string designator, ident, frequency, course;
            words >> designator >> ident >> frequency >> course;
            if (frequency == "0") {
                EXPECT_EQ(events.count, 0) << entry;
                EXPECT_EQ(ident, "-") << entry;
                continue;
            }
            ASSERT_EQ(events.count, 2) << entry;
            EXPECT_EQ(events.events[0].id, key_nav1_frequency);
            EXPECT_EQ(events.events[0].value, nav_frequency_bcd(frequency.c_str())) << entry;
            EXPECT_NE(events.events[0].value, 0u) << entry;
            EXPECT_EQ(events.events[1].id, key_nav1_course);
            EXPECT_GE(events.events[1].value, 1u) << entry;
            EXPECT_LE(events.events[1].value, 360u) << entry;
        }
    }
}

TEST_P(GoldenFiles, EveryNavaidListsAndTunesItsRadio)
{
    std::vector<std::string> codes = words_of_lines(source_ + NAVAID_FILE_NAME, 0);
    std::vector<std::string> types = words_of_lines(source_ + NAVAID_FILE_NAME, 2);
    ASSERT_EQ(codes.size(), types.size());
    for (size_t i = 0; i < codes.size(); i++) {
        ArrayList pick, results;
        icao_lookup(codes[i].c_str(), false, pick, results);
        ASSERT_FALSE(results.entries.empty()) << codes[i];
        TuningEvents events = tuning_events(results.entries[0].c_str(), false);
        ASSERT_EQ(events.count, 1) << results.entries[0];
        EXPECT_EQ(events.events[0].id, types[i] == "VOR" ? key_nav1_frequency : key_adf_frequency)
            << results.entries[0];
    }
}

INSTANTIATE_TEST_SUITE_P(Converted, GoldenFiles,
                         ::testing::Values("xp850", "xp1200", "oa", "oa_nav"));

TEST(ReadBack, AnIlsRunwayTunesItsFrequencyAndCourse)
{
    ScratchFolder dir;
    char saved[4096];
    ASSERT_TRUE(getcwd(saved, sizeof saved));
    dir.write(RUNWAY_FILE_NAME, "KSEA SEATTLE-TACOMA_INTL 16L_ISNQ_11796_110.30_180 "
                                "34R_-_11796_0_360\r\n");
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    ArrayList pick, results;
    icao_lookup("KSEA", true, pick, results);
    EXPECT_EQ(chdir(saved), 0);
    ASSERT_EQ(results.entries.size(), 2u);
    TuningEvents ils = tuning_events(results.entries[0].c_str(), true);
    ASSERT_EQ(ils.count, 2);
    EXPECT_EQ(ils.events[0].value, 0x1030u);
    EXPECT_EQ(ils.events[1].value, 180u);
    EXPECT_EQ(tuning_events(results.entries[1].c_str(), true).count, 0);
}

}  // namespace
