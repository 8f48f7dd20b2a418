/* The simulator's scenery as the setup window runs it: the progress moves
 * by files, a stop between two files writes nothing, and the request's own
 * faults. */
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "bgl_writer.h"
#include "job/conversion.h"
#include "test_files.h"

namespace {

class FileListener : public ReportListener {
public:
    void line(const std::string &text) override { lines += text + "\n"; }
    void progress(const std::string &file, double fraction) override
    {
        char text[64];
        snprintf(text, sizeof text, "%s %.2f\n", file.c_str(), fraction);
        steps += text;
        files++;
    }
    bool stop_requested() override { return stop_after > 0 && files >= stop_after; }
    std::string lines, steps;
    int files = 0, stop_after = 0;
};

/* A library of one area with three files, an airport in each. */
ConversionRequest library_in(const ScratchFolder &sim)
{
    mkdir((sim.path() + "/Scenery").c_str(), 0777);
    mkdir((sim.path() + "/Scenery/Base").c_str(), 0777);
    mkdir((sim.path() + "/Scenery/Base/Scenery").c_str(), 0777);
    const char *idents[] = {"KAAA", "KBBB", "KCCC"};
    for (int i = 0; i < 3; i++) {
        BglWriter w;
        BglAirport a;
        a.ident = idents[i];
        a.name = "Field";
        a.latitude = 40;
        a.longitude = -100 + i;
        BglRunway r;
        r.primary_number = 9;
        r.secondary_number = 27;
        r.heading = 90;
        r.length_m = 1000;
        a.runways.push_back(r);
        w.add_airport(a);
        sim.write("Scenery/Base/Scenery/AP" + std::to_string(i) + ".bgl", w.bytes());
    }
    sim.write("Scenery.cfg", "[Area.001]\r\nLocal=Scenery\\Base\r\nLayer=1\r\n");
    ConversionRequest request;
    request.scenery_dir = sim.path();
    request.output_dir = sim.path();
    request.crlf = false;
    return request;
}

}  // namespace

TEST(SceneryConversion, ProgressByFilesAndAStopBetweenThem)
{
    ScratchFolder sim;
    ConversionRequest request = library_in(sim);
    FileListener all;
    Report report;
    report.set_listener(&all);
    ConversionResult result;
    EXPECT_EQ(run_conversion(request, report, &result), conversion_clean) << all.lines;
    EXPECT_EQ(all.steps, "AP0.bgl 0.33\nAP1.bgl 0.67\nAP2.bgl 1.00\n");
    EXPECT_EQ(sim.read("Prwydata.txt"),
              "KAAA FIELD 09_-_3281_0_090 27_-_3281_0_270\n"
              "KBBB FIELD 09_-_3281_0_090 27_-_3281_0_270\n"
              "KCCC FIELD 09_-_3281_0_090 27_-_3281_0_270\n");
    EXPECT_EQ(sim.read("Pnavdata.txt"), "");
    EXPECT_NE(result.summary.find("Area.001 (" + sim.path() + "/Scenery/Base): 3 of 3 BGL files read"),
              std::string::npos) << result.summary;

    ScratchFolder other;
    request.output_dir = other.path();
    FileListener stopping;
    stopping.stop_after = 2;
    Report stopped_report;
    stopped_report.set_listener(&stopping);
    EXPECT_EQ(run_conversion(request, stopped_report, &result), conversion_failed);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(stopping.steps, "AP0.bgl 0.33\nAP1.bgl 0.67\n");
    EXPECT_NE(stopping.lines.find("stopped\nnothing written"), std::string::npos) << stopping.lines;
    EXPECT_EQ(other.read("Prwydata.txt"), "(missing)");
}

TEST(SceneryConversion, TheScenerySourceStandsAlone)
{
    ConversionRequest r;
    r.scenery_dir = "sim";
    EXPECT_EQ(request_problem(r), "");
    r.scenery_cfg = "elsewhere/scenery.cfg";
    EXPECT_EQ(request_problem(r), "");
    r.apt_files.push_back("apt.dat");
    EXPECT_NE(request_problem(r).find("gives both airports and navaids"), std::string::npos);
    r.apt_files.clear();
    r.xplane_dir = "xp";
    EXPECT_NE(request_problem(r).find("gives both airports and navaids"), std::string::npos);
    ConversionRequest cfg_alone;
    cfg_alone.scenery_cfg = "scenery.cfg";
    EXPECT_NE(request_problem(cfg_alone).find("--scenery-cfg needs --scenery"), std::string::npos);
}
