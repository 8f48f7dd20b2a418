/* The world data that comes with the package, installed into a simulator
 * folder: both files byte for byte, the figures and the data cycle said; a
 * missing, damaged or empty file, a stop at any step, or a folder that
 * cannot take them leaves the simulator's files as they were. */
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "bundled_data.h"
#include "common/file_ops.h"
#include "../tools/test_files.h"

namespace {

const char runways[] = "KSEA SEATTLE_TACOMA_INTL 16L_ISNQ_11901_110.30_166 34R_ISEA_11901_110.30_346\r\n"
                       "S50 AUBURN_MUNI 16_-_3398_0_165 34_-_3398_0_345\r\n";
const char navaids[] = "SEA SEATTLE VOR 116.80\r\nBF NOLLA NDB 362\r\n";
const char old_runways[] = "OLDA OLD_AIRPORT 01_-_1000_0_010\r\n";
const char old_navaids[] = "OLD OLD_VOR VOR 110.00\r\n";

/* The names in a folder, without . and .. */
size_t entries(const std::string &folder)
{
    size_t n = 0;
    for (const std::string &name : file_ops::list_directory(folder))
        n += name != "." && name != "..";
    return n;
}

class Listener : public ReportListener {
public:
    void line(const std::string &text) override { lines += text + "\n"; }
    void progress(const std::string &, double) override { steps++; }
    bool stop_requested() override { return ++asked > stop_after; }
    std::string lines;
    int steps = 0, asked = 0;
    int stop_after = 1 << 30;
};

struct Install {
    ScratchFolder scratch;
    std::string package, simulator;
    Listener listener;
    ConversionResult result;
    bool unchanged = false;

    Install()
    {
        package = scratch.path() + "/pkg";
        simulator = scratch.path() + "/sim";
        mkdir(package.c_str(), 0755);
        mkdir(simulator.c_str(), 0755);
        scratch.write("pkg/Prwydata.txt", runways);
        scratch.write("pkg/Pnavdata.txt", navaids);
        scratch.write("pkg/DATA-README.txt", "World data\n\nThe navigation data cycle 2013.10.\n");
        scratch.write("sim/Prwydata.txt", old_runways);
        scratch.write("sim/Pnavdata.txt", old_navaids);
    }
    ConversionStatus run()
    {
        Report report;
        report.set_listener(&listener);
        return install_bundled_data(package, simulator, report, &result, &unchanged);
    }
    void expect_old_files()
    {
        EXPECT_EQ(scratch.read("sim/Prwydata.txt"), old_runways);
        EXPECT_EQ(scratch.read("sim/Pnavdata.txt"), old_navaids);
        EXPECT_EQ(entries(simulator), 2u) << listener.lines;
        EXPECT_EQ(result.status, conversion_failed);
        EXPECT_NE(listener.lines.find("nothing written"), std::string::npos) << listener.lines;
    }
};

TEST(BundledData, InstalledByteForByteWithItsFiguresAndCycle)
{
    Install in;
    EXPECT_EQ(in.run(), conversion_clean) << in.listener.lines;
    EXPECT_EQ(in.scratch.read("sim/Prwydata.txt"), runways);
    EXPECT_EQ(in.scratch.read("sim/Pnavdata.txt"), navaids);
    EXPECT_EQ(entries(in.simulator), 2u);
    EXPECT_FALSE(in.unchanged);
    EXPECT_EQ(in.result.airports_written, 2);
    EXPECT_EQ(in.result.navaids_written, 2);
    EXPECT_NE(in.listener.lines.find("2 airports, 2 navaids, data cycle 2013.10 (real-world "
                                     "frequencies of that cycle, not your simulator's"),
              std::string::npos)
        << in.listener.lines;
    EXPECT_NE(in.listener.lines.find("wrote " + in.simulator + "/Prwydata.txt (2 lines)"),
              std::string::npos);
    EXPECT_GT(in.listener.steps, 0);

    /* Again: the very same files are there, nothing is written. */
    in.listener.lines.clear();
    EXPECT_EQ(in.run(), conversion_clean);
    EXPECT_TRUE(in.unchanged);
    EXPECT_NE(in.listener.lines.find("already: nothing changed"), std::string::npos);

    /* Into the package's own folder (the zip unpacked into the simulator). */
    in.simulator = in.package;
    EXPECT_EQ(in.run(), conversion_clean);
    EXPECT_TRUE(in.unchanged);
    EXPECT_EQ(in.scratch.read("pkg/Prwydata.txt"), runways);
}

TEST(BundledData, IntoAnEmptyFolderAndWithoutItsReadme)
{
    Install in;
    remove((in.simulator + "/Prwydata.txt").c_str());
    remove((in.simulator + "/Pnavdata.txt").c_str());
    remove((in.package + "/DATA-README.txt").c_str());
    EXPECT_EQ(in.run(), conversion_clean) << in.listener.lines;
    EXPECT_EQ(in.scratch.read("sim/Prwydata.txt"), runways);
    EXPECT_EQ(in.scratch.read("sim/Pnavdata.txt"), navaids);
    EXPECT_NE(in.listener.lines.find("2 navaids (real-world frequencies, not your simulator's"),
              std::string::npos)
        << in.listener.lines;
    EXPECT_EQ(bundled_data_cycle(in.package), "");
}

TEST(BundledData, AMissingDamagedOrEmptyFileChangesNothing)
{
    struct Case {
        const char *name, *bytes, *says;
    } cases[] = {
        {"pkg/Pnavdata.txt", nullptr, "this package has no Pnavdata.txt"},
        {"pkg/Prwydata.txt", nullptr, "this package has no Prwydata.txt"},
        /* Cut in the middle of a line, as a broken download leaves it. */
        {"pkg/Prwydata.txt", "KSEA SEATTLE_TACOMA_INTL 16L_ISNQ_11901_110.30_166 34R_IS",
         "Prwydata.txt is damaged"},
        {"pkg/Pnavdata.txt", "SEA SEATTLE VOR 116.80\r\nBF NOLLA NDB\r\n", "Pnavdata.txt is damaged"},
        {"pkg/Pnavdata.txt", "\x1f\x8b\x08\x00 not text", "cannot read"},
        {"pkg/Pnavdata.txt", "SEA SEATTLE VOR 116.80\r\n\x1a", "a control byte"},
        {"pkg/Prwydata.txt", "kSEA SEATTLE_TACOMA_INTL 16L_ISNQ_11901_110.30_166\r\n",
         "Prwydata.txt is damaged (line 1"},
        {"pkg/Prwydata.txt", "", "Prwydata.txt is empty"},
    };
    for (const Case &c : cases) {
        Install in;
        if (c.bytes)
            in.scratch.write(c.name, c.bytes);
        else
            remove((in.scratch.path() + "/" + c.name).c_str());
        EXPECT_EQ(in.run(), conversion_failed) << c.name;
        in.expect_old_files();
        EXPECT_NE(in.listener.lines.find(c.says), std::string::npos) << in.listener.lines;
    }
}

TEST(BundledData, AStopAtAnyStepOrAnUnwritableFolderChangesNothing)
{
    /* The listener is asked at every line copied (four) and once more
     * before the pair goes in. */
    for (int stop_after = 0; stop_after < 5; stop_after++) {
        Install in;
        in.listener.stop_after = stop_after;
        EXPECT_EQ(in.run(), conversion_failed) << stop_after;
        EXPECT_TRUE(in.result.stopped) << stop_after;
        in.expect_old_files();
    }
    {
        /* A stop asked for after the last of those is too late: all went in. */
        Install in;
        in.listener.stop_after = 5;
        EXPECT_EQ(in.run(), conversion_clean) << in.listener.lines;
        EXPECT_EQ(in.scratch.read("sim/Prwydata.txt"), runways);
    }
    Install in;
    in.simulator += "/no-such-folder";
    EXPECT_EQ(in.run(), conversion_failed);
    EXPECT_FALSE(in.result.stopped);
    EXPECT_NE(in.listener.lines.find("nothing written"), std::string::npos);
}

}  // namespace
