#include <gtest/gtest.h>

#include <sys/stat.h>

#include "sources/scenery_library.h"
#include "test_files.h"

namespace {

SceneryLibrary parsed(const std::string &text, const std::string &sim = "/sim")
{
    SceneryLibrary library;
    parse_scenery_cfg(text, "scenery.cfg", sim, &library);
    return library;
}

std::string problems(const SceneryLibrary &library)
{
    std::string text;
    for (const std::string &p : library.problems)
        text += p + "\n";
    return text;
}

TEST(SceneryCfg, AreasAsTheSimulatorWritesThem)
{
    SceneryLibrary lib = parsed(
        "[General]\r\nTitle=FS9 World Scenery\r\nDescription=FS9 Scenery Data\r\nClean_on_Exit=TRUE\r\n"
        "\r\n[Area.001]\r\nTitle=Default Terrain\r\nTexture_ID=1\r\nLocal=Scenery\\World\r\n"
        "Layer=1\r\nActive=TRUE\r\nRequired=TRUE\r\n\r\n"
        "[area.002]\r\ntitle=Add-on\r\nlocal=Addon Scenery\\\\Big Airport\\\r\nlayer=12\r\n"
        "active=false\r\n"
        "[AREA.3]\r\nLocal=D:\\Scenery\\Mesh\r\nLayer=2\r\n"
        "[Area.004]\r\nLocal=\r\nRemote=Scenery\\Remote One\r\n");
    EXPECT_EQ(problems(lib), "");
    ASSERT_EQ(lib.areas.size(), 4u);
    EXPECT_EQ(lib.areas[0].number, 1);
    EXPECT_EQ(lib.areas[0].title, "Default Terrain");
    EXPECT_EQ(lib.areas[0].local, "Scenery\\World");
    EXPECT_EQ(lib.areas[0].folder, "/sim/Scenery/World");
    EXPECT_EQ(lib.areas[0].line, 6);
    EXPECT_TRUE(lib.areas[0].active);
    EXPECT_EQ(lib.areas[1].folder, "/sim/Addon Scenery/Big Airport");
    EXPECT_EQ(lib.areas[1].layer, 12);
    EXPECT_FALSE(lib.areas[1].active);
    /* Absolute: the drive is kept; missing Active is TRUE; missing Layer
     * is the area's number. */
    EXPECT_EQ(lib.areas[2].folder, "D:/Scenery/Mesh");
    EXPECT_TRUE(lib.areas[2].active);
    EXPECT_EQ(lib.areas[3].local, "Scenery\\Remote One");
    EXPECT_EQ(lib.areas[3].layer, 4);
    EXPECT_EQ(parsed("[Area.9]\nLocal=\\\\server\\share\\x\n").areas[0].folder, "//server/share/x");
    EXPECT_EQ(parsed("[Area.9]\nLocal=/abs/x\r").areas[0].folder, "/abs/x");
}

TEST(SceneryCfg, GarbageLinesAreReportedAndTheRestRead)
{
    SceneryLibrary lib = parsed(
        "\xEF\xBB\xBFLocal=before any section\n"
        "[Area.001]\n"
        "this line is noise\n"
        "Local=Scenery\\Base\n"
        "Layer=high\n"
        "Active=maybe\n"
        "=value\n"
        "[Area.x1]\nLocal=Scenery\\Ghost\n"
        "[Area.002\n"
        "Local=Scenery\\Lost\n"
        "[Area.003]\nTitle=No folder\n"
        "[Area.001]\nLocal=Scenery\\Second\n"
        "; a comment\n# another\n"
        "[Area.004]\nLocal=Scenery\\Good\nLayer=4\n" +
        std::string("\x01\xff\0garbage", 10) + "\n");
    ASSERT_EQ(lib.areas.size(), 2u);
    EXPECT_EQ(lib.areas[0].folder, "/sim/Scenery/Base");
    EXPECT_EQ(lib.areas[0].layer, 1);
    EXPECT_TRUE(lib.areas[0].active);
    EXPECT_EQ(lib.areas[1].folder, "/sim/Scenery/Good");
    EXPECT_EQ(problems(lib),
              "scenery.cfg:1: 'Local=before any section' stands before any [section]: passed over\n"
              "scenery.cfg:3: not a [section] or a name=value line: 'this line is noise'\n"
              "scenery.cfg:5: Layer 'high' is not a whole number: the area's number stands for it\n"
              "scenery.cfg:6: Active 'maybe' is neither TRUE nor FALSE: taken as TRUE\n"
              "scenery.cfg:7: not a [section] or a name=value line: '=value'\n"
              "scenery.cfg:8: '[Area.x1]' is no area number: its lines are passed over\n"
              "scenery.cfg:10: section header without its ']': '[Area.002'\n"
              "scenery.cfg:11: 'Local=Scenery\\Lost' stands before any [section]: passed over\n"
              "scenery.cfg:14: [Area.001] comes again (first on line 2): its lines are passed over\n"
              "scenery.cfg:21: not a [section] or a name=value line: '???garbage'\n"
              "scenery.cfg:12: [Area.003] names no folder (no Local= or Remote=): skipped\n");
}

TEST(SceneryCfg, OneFolderTwiceIsReadOnceAtTheHigherLayer)
{
    SceneryLibrary lib = parsed("[Area.001]\nLocal=Addon\\KXYZ\nLayer=30\n"
                                "[Area.002]\nLocal=Scenery\\Base\nLayer=2\n"
                                "[Area.003]\nLocal=addon/kxyz/\nLayer=31\n"
                                "[Area.004]\nLocal=ADDON\\KXYZ\nLayer=40\nActive=FALSE\n"
                                "[Area.005]\nLocal=Scenery\\Base\nLayer=2\n");
    ASSERT_EQ(lib.areas.size(), 3u);
    EXPECT_EQ(lib.areas[0].number, 3);   /* 1 drops: 3 is higher */
    EXPECT_EQ(lib.areas[1].number, 4);   /* inactive: no part of it */
    EXPECT_EQ(lib.areas[2].number, 5);   /* a tie: the higher number */
    EXPECT_EQ(problems(lib),
              "scenery.cfg:1: [Area.001] names the folder of [Area.003] (Addon\\KXYZ): read once, at layer 31\n"
              "scenery.cfg:4: [Area.002] names the folder of [Area.005] (Scenery\\Base): read once, at layer 2\n");
}

TEST(SceneryCfg, FoundInTheSimulatorFolderInAnyCase)
{
    ScratchFolder sim;
    std::vector<std::string> looked;
    EXPECT_EQ(find_scenery_cfg(sim.path(), &looked), "");
    ASSERT_GE(looked.size(), 1u);
    EXPECT_EQ(looked[0], sim.path() + "/scenery.cfg");
    mkdir((sim.path() + "/SCENERY.CFG.d").c_str(), 0777);
    mkdir((sim.path() + "/Scenery.Cfg").c_str(), 0777);   /* a folder is no file */
    EXPECT_EQ(find_scenery_cfg(sim.path(), &looked), "");
    ScratchFolder fs9;
    fs9.write("SCENERY.CFG", "[Area.001]\r\nLocal=Scenery\\World\r\n");
    EXPECT_EQ(find_scenery_cfg(fs9.path(), &looked), fs9.path() + "/SCENERY.CFG");

    SceneryLibrary lib;
    std::string error;
    ASSERT_TRUE(read_scenery_cfg(fs9.path() + "/SCENERY.CFG", fs9.path(), &lib, &error));
    ASSERT_EQ(lib.areas.size(), 1u);
    EXPECT_EQ(lib.areas[0].folder, fs9.path() + "/Scenery/World");
    EXPECT_FALSE(read_scenery_cfg(fs9.path() + "/none.cfg", fs9.path(), &lib, &error));
    EXPECT_NE(error.find("none.cfg: No such file"), std::string::npos) << error;
}

}  // namespace
