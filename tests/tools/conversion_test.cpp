/* One whole conversion run as the setup window runs it: a stop asked for at
 * any moment before the commit, and the first definition of an airport code
 * across several apt.dat files. */
#include <gtest/gtest.h>

#include "job/conversion.h"
#include "test_files.h"

namespace {

const char pack_apt[] =
    "I\n850 Version - a scenery pack\n\n"
    "1    50 0 0 KAAA [X] Closed By The Pack\n"
    "100 20.00 3 0 0.25 0 0 0 09 40.00000000 -100.01000000 0.00 0.00 1 0 0 0 27 40.00000000 "
    "-99.99000000 0.00 0.00 1 0 0 0\n"
    "99\n";
const char global_apt[] =
    "I\n850 Version - the global airports\n\n"
    "1    50 0 0 KAAA Open Field\n"
    "100 20.00 3 0 0.25 0 0 0 09 40.00000000 -100.01000000 0.00 0.00 1 0 0 0 27 40.00000000 "
    "-99.99000000 0.00 0.00 1 0 0 0\n"
    "1    60 0 0 KBBB Other Field\n"
    "100 20.00 3 0 0.25 0 0 0 18 41.01000000 -100.00000000 0.00 0.00 1 0 0 0 36 40.99000000 "
    "-100.00000000 0.00 0.00 1 0 0 0\n"
    "99\n";

/* Collects the lines; asks to stop from the first question on, and counts
 * the questions. */
class StoppingListener : public ReportListener {
public:
    void line(const std::string &text) override { lines += text + "\n"; }
    void progress(const std::string &, double) override {}
    bool stop_requested() override
    {
        asked++;
        return stop;
    }
    std::string lines;
    bool stop = false;
    int asked = 0;
};

ConversionRequest request_in(const ScratchFolder &folder)
{
    ConversionRequest request;
    request.apt_files = {folder.write("pack.dat", pack_apt), folder.write("global.dat", global_apt)};
    request.output_dir = folder.path();
    request.crlf = false;
    request.year = 2026;
    request.month = 12;
    request.day = 10;
    return request;
}

}  // namespace

/* A file shorter than one progress step never asks; the stop is still seen
 * before the pair goes in, and the files already there stay as they were. */
TEST(Conversion, AStopBeforeTheCommitWritesNothing)
{
    ScratchFolder folder;
    folder.write("Prwydata.txt", "OLD RUNWAYS\r\n");
    StoppingListener listener;
    listener.stop = true;
    Report report;
    report.set_listener(&listener);
    ConversionResult result;
    EXPECT_EQ(run_conversion(request_in(folder), report, &result), conversion_failed);
    EXPECT_TRUE(result.stopped);
    EXPECT_GT(listener.asked, 0);
    EXPECT_NE(listener.lines.find("stopped\nnothing written"), std::string::npos) << listener.lines;
    EXPECT_EQ(folder.read("Prwydata.txt"), "OLD RUNWAYS\r\n");
    EXPECT_EQ(folder.read("Pnavdata.txt"), "(missing)");
}

/* The first definition of a code wins even when it closes the airport, as
 * in the simulator: the later open one is a repeat, not a replacement. */
TEST(Conversion, TheFirstDefinitionOfACodeWinsEvenClosed)
{
    ScratchFolder folder;
    StoppingListener listener;
    Report report;
    report.set_listener(&listener);
    ConversionResult result;
    EXPECT_EQ(run_conversion(request_in(folder), report, &result), conversion_clean)
        << listener.lines;
    EXPECT_FALSE(result.stopped);
    const std::string runways = folder.read("Prwydata.txt");
    EXPECT_EQ(runways.find("KAAA"), std::string::npos) << runways;
    EXPECT_NE(runways.find("KBBB OTHER_FIELD"), std::string::npos) << runways;
    EXPECT_NE(listener.lines.find("airport KAAA comes again: the first one is kept"),
              std::string::npos)
        << listener.lines;
    EXPECT_NE(listener.lines.find("closed 1,"), std::string::npos) << listener.lines;
    EXPECT_NE(listener.lines.find("repeated code 1,"), std::string::npos) << listener.lines;
}
