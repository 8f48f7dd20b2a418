/*
 * The simulator's scenery library: scenery.cfg and the areas it lists, in
 * the order the simulator layers them.
 *
 * scenery.cfg is an INI file (CR LF, 8-bit text).  Each [Area.NNN] section
 * gives Title=, Local= (the area's folder: absolute, or relative to the
 * simulator's folder; backslashes), Layer= (higher wins), Active= (FALSE:
 * not flown with; missing: TRUE).  Names and TRUE/FALSE are compared
 * ignoring case.  An area's BGL files are <Local>\scenery\*.bgl, any case.
 *
 * Read defensively, each choice reported in problems:
 *   - a line that is neither a [section], a name=value line, a comment
 *     (; or #) nor blank is passed over;
 *   - Local= empty: Remote= stands for it; neither: the area is skipped;
 *   - Layer= missing or not a number: the area's number stands for it;
 *   - [Area.NNN] twice: the first is kept;
 *   - two active areas naming one folder (letter case and separators
 *     aside): it is read once, at the higher of their layers (ties: the
 *     higher area number), the other area dropped from the list.
 */
#ifndef PELMORA_TOOLS_SCENERY_LIBRARY_H
#define PELMORA_TOOLS_SCENERY_LIBRARY_H

#include <stddef.h>

#include <string>
#include <vector>

struct SceneryArea {
    int number = 0;             /* NNN of [Area.NNN] */
    std::string title;
    std::string local;          /* as written */
    std::string folder;         /* resolved against the simulator's folder */
    int layer = 0;
    bool active = true;
    long line = 0;              /* of its section header, for messages */
};

struct SceneryLibrary {
    std::string cfg_path;                 /* the scenery.cfg read */
    std::vector<SceneryArea> areas;       /* in the file's order */
    std::vector<std::string> problems;    /* "scenery.cfg:LINE: what" for lines not understood */
};

/* Parses scenery.cfg text (tests, fuzzing); sim_dir resolves relative
 * Local= folders. */
void parse_scenery_cfg(const std::string &text, const std::string &cfg_path,
                       const std::string &sim_dir, SceneryLibrary *library);

/* Reads the file and parses it; false with *error when it cannot be read
 * (or is larger than scenery_cfg_room: no library is that large). */
static const size_t scenery_cfg_room = 16u * 1024 * 1024;
bool read_scenery_cfg(const std::string &path, const std::string &sim_dir,
                      SceneryLibrary *library, std::string *error);

/* The scenery.cfg of a simulator folder: SIMDIR/scenery.cfg in any letter
 * case; else, on Windows, where the later release keeps it (the program-data
 * folder).  Empty when there is none; *looked lists every path tried. */
std::string find_scenery_cfg(const std::string &sim_dir, std::vector<std::string> *looked);

#endif
