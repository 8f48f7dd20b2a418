/*
 * A simulator's own folder turned into the files the converter reads: the
 * airports and navaids that simulator flies with.
 *
 * X-Plane 11 and 12:
 *   navaids   Custom Data/earth_nav.dat (a current cycle the pilot
 *             installed), else Resources/default data/earth_nav.dat;
 *   airports  the "Earth nav data/apt.dat" of every enabled scenery pack
 *             and of Global Airports, in the order of
 *             Custom Scenery/scenery_packs.ini (earlier lines win):
 *               SCENERY_PACK Custom Scenery/<pack>/   read
 *               SCENERY_PACK *GLOBAL_AIRPORTS*         Global Scenery/Global Airports
 *               SCENERY_PACK_DISABLED ...              skipped
 *             X-Plane 11 keeps Global Airports under Custom Scenery/ and
 *             names it as a pack.  Without the .ini: the packs of Custom
 *             Scenery by name, then Global Airports.  Global Airports the
 *             .ini does not name at all is read last.
 * FlightGear: the FGData folder's Airports/apt.dat.gz and
 *             Navaids/nav.dat.gz (or the same without .gz).
 *
 * Names are looked up as the simulator writes them first, then ignoring
 * case (files copied from Windows onto a case-sensitive file system).
 */
#ifndef PELMORA_TOOLS_SIM_FOLDERS_H
#define PELMORA_TOOLS_SIM_FOLDERS_H

#include <string>
#include <vector>

struct SimulatorFiles {
    std::vector<std::string> apt_files;   /* in priority order: the first definition wins */
    std::string nav_file;                 /* empty when the folder has none */
    std::vector<std::string> notes;       /* what was chosen and what passed over, for the user */
};

/* folder/relative, each part of relative (separators / or \) as written
 * where it is there, else the entry that differs from it in letter case
 * only; the path as written from the first part that is missing. */
std::string path_in_any_case(const std::string &folder, const std::string &relative);

/* Empty on success; else why the folder is no X-Plane folder, naming what
 * was looked for. */
std::string xplane_files(const std::string &folder, SimulatorFiles *files);
/* The same for an FGData folder. */
std::string flightgear_files(const std::string &folder, SimulatorFiles *files);

#endif
