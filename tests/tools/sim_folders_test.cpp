#include <gtest/gtest.h>

#include <sys/stat.h>

#include "sources/sim_folders.h"
#include "test_files.h"

namespace {

/* A file at root/relative, its folders made as needed. */
void put(const ScratchFolder &root, const std::string &relative, const std::string &text = "x")
{
    for (size_t slash = relative.find('/'); slash != std::string::npos;
         slash = relative.find('/', slash + 1))
        mkdir((root.path() + "/" + relative.substr(0, slash)).c_str(), 0777);
    root.write(relative, text);
}

std::string joined(const std::vector<std::string> &items, const std::string &root)
{
    std::string text;
    for (const std::string &item : items)
        text += (text.empty() ? "" : " | ") + item.substr(!root.empty() && item.find(root) == 0 ? root.size() + 1 : 0);
    return text;
}

const char pack_apt[] = "/Earth nav data/apt.dat";

TEST(XPlaneFolder, WithoutTheIniThePacksByNameThenGlobalAirports)
{
    ScratchFolder xp;
    put(xp, "Resources/default data/earth_nav.dat");
    put(xp, "Global Scenery/Global Airports/Earth nav data/apt.dat");
    put(xp, std::string("Custom Scenery/b pack") + pack_apt);
    put(xp, std::string("Custom Scenery/A Pack") + pack_apt);
    put(xp, "Custom Scenery/Library/library.txt");
    SimulatorFiles files;
    EXPECT_EQ(xplane_files(xp.path(), &files), "");
    EXPECT_EQ(joined(files.apt_files, xp.path()),
              "Custom Scenery/A Pack/Earth nav data/apt.dat | "
              "Custom Scenery/b pack/Earth nav data/apt.dat | "
              "Global Scenery/Global Airports/Earth nav data/apt.dat");
    EXPECT_EQ(files.nav_file, xp.path() + "/Resources/default data/earth_nav.dat");
}

TEST(XPlaneFolder, TheIniOrderAbsolutePacksAndAGlobalItDoesNotName)
{
    ScratchFolder xp, elsewhere;
    put(xp, "Custom Data/earth_nav.dat");
    put(xp, "Resources/default data/earth_nav.dat");
    put(xp, "Global Scenery/Global Airports/Earth nav data/apt.dat");
    put(xp, std::string("Custom Scenery/Near") + pack_apt);
    put(elsewhere, std::string("Far Pack") + pack_apt);
    put(xp, "Custom Scenery/scenery_packs.ini",
        "I\n1000 Version\nSCENERY\n\nSCENERY_PACK " + elsewhere.path() +
            "/Far Pack/\nSCENERY_PACK Custom Scenery/Near/  \nSCENERY_PACK Custom Scenery/Gone/\n");
    SimulatorFiles files;
    EXPECT_EQ(xplane_files(xp.path(), &files), "");
    ASSERT_EQ(files.apt_files.size(), 3u);
    EXPECT_EQ(files.apt_files[0], elsewhere.path() + "/Far Pack/Earth nav data/apt.dat");
    EXPECT_EQ(joined({files.apt_files[1], files.apt_files[2]}, xp.path()),
              "Custom Scenery/Near/Earth nav data/apt.dat | "
              "Global Scenery/Global Airports/Earth nav data/apt.dat");
    EXPECT_EQ(files.nav_file, xp.path() + "/Custom Data/earth_nav.dat");
    std::string notes = joined(files.notes, "");
    EXPECT_NE(notes.find("scenery_packs.ini does not name *GLOBAL_AIRPORTS*: Global Airports "
                         "read last"),
              std::string::npos)
        << notes;
}

TEST(XPlaneFolder, ADisabledGlobalAirportsIsNotRead)
{
    ScratchFolder xp;
    put(xp, "Global Scenery/Global Airports/Earth nav data/apt.dat");
    put(xp, std::string("Custom Scenery/Mine") + pack_apt);
    put(xp, "Custom Scenery/scenery_packs.ini",
        "SCENERY_PACK_DISABLED *GLOBAL_AIRPORTS*\r\nSCENERY_PACK Custom Scenery/Mine/\r\n");
    SimulatorFiles files;
    EXPECT_EQ(xplane_files(xp.path(), &files), "");
    EXPECT_EQ(joined(files.apt_files, xp.path()), "Custom Scenery/Mine/Earth nav data/apt.dat");
    EXPECT_EQ(files.nav_file, "");
}

/* Files a Windows pilot copied keep their own case; found all the same. */
TEST(XPlaneFolder, NamesInAnotherCaseAreFound)
{
    ScratchFolder xp;
    put(xp, "custom data/EARTH_NAV.DAT");
    put(xp, "global scenery/global airports/earth nav data/APT.DAT");
    SimulatorFiles files;
    EXPECT_EQ(xplane_files(xp.path(), &files), "");
    EXPECT_EQ(files.nav_file, xp.path() + "/custom data/EARTH_NAV.DAT");
    EXPECT_EQ(joined(files.apt_files, xp.path()),
              "global scenery/global airports/earth nav data/APT.DAT");
}

TEST(XPlaneFolder, AnythingElseSaysWhatWasLookedFor)
{
    ScratchFolder other;
    put(other, "Airports/apt.dat.gz");
    SimulatorFiles files;
    std::string message = xplane_files(other.path(), &files);
    EXPECT_NE(message.find("is not an X-Plane 11 or 12 folder: none of Custom Data/earth_nav.dat, "
                           "Resources/default data/earth_nav.dat, Global Scenery/Global "
                           "Airports/Earth nav data/apt.dat"),
              std::string::npos)
        << message;
    EXPECT_EQ(xplane_files(other.path() + "/nothing", &files),
              "--xplane " + other.path() + "/nothing: no such folder");
}

TEST(FlightGearFolder, FGDataOrTheFolderThatHoldsItAsData)
{
    ScratchFolder fg, install, other;
    put(fg, "Airports/apt.dat.gz");
    put(fg, "Navaids/nav.dat");
    put(install, "data/Airports/apt.dat.gz");
    put(install, "data/Navaids/nav.dat.gz");
    put(other, "readme.txt");
    SimulatorFiles files;
    EXPECT_EQ(flightgear_files(fg.path(), &files), "");
    EXPECT_EQ(joined(files.apt_files, fg.path()), "Airports/apt.dat.gz");
    EXPECT_EQ(files.nav_file, fg.path() + "/Navaids/nav.dat");
    EXPECT_EQ(flightgear_files(install.path(), &files), "");
    EXPECT_EQ(files.nav_file, install.path() + "/data/Navaids/nav.dat.gz");
    EXPECT_NE(flightgear_files(other.path(), &files).find("is not a FlightGear data folder"),
              std::string::npos);
}

}  // namespace
