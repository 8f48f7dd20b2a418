#include "sim_folders.h"

#include <stdio.h>

#include <algorithm>

#include "common/file_ops.h"
#include "common/line_reader.h"
#include "common/tokens.h"

using file_ops::Kind;

/* ---- Paths ---- */

#ifdef _WIN32
static const char separator = '\\';
#else
static const char separator = '/';
#endif

static bool is_separator(char c) { return c == '/' || c == '\\'; }

static std::string join(const std::string &folder, const std::string &name)
{
    if (folder.empty())
        return name;
    return is_separator(folder.back()) ? folder + name : folder + separator + name;
}

static bool is_absolute(const std::string &path)
{
    if (!path.empty() && is_separator(path[0]))
        return true;
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

/* folder/relative, each part of relative as written where it is there,
 * else the entry that differs from it in case only; the path as written
 * from the first part that is missing. */
static std::string find_path(const std::string &folder, const std::string &relative)
{
    std::string path = folder;
    size_t start = 0;
    while (start < relative.size()) {
        size_t end = start;
        while (end < relative.size() && !is_separator(relative[end]))
            end++;
        std::string part = relative.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        std::string exact = join(path, part);
        if (file_ops::kind_of(exact) == Kind::none) {
            const std::string wanted = upper_ascii(part);
            for (const std::string &entry : file_ops::list_directory(path))
                if (upper_ascii(entry) == wanted) {
                    exact = join(path, entry);
                    break;
                }
        }
        path = exact;
    }
    return path;
}

std::string path_in_any_case(const std::string &folder, const std::string &relative)
{
    return find_path(folder, relative);
}

static bool readable_file(const std::string &path)
{
    if (file_ops::kind_of(path) != Kind::file)
        return false;
    FILE *f = fopen(path.c_str(), "rb");
    if (!f)
        return false;
    fclose(f);
    return true;
}

/* A folder, or a link to one: it can be listed ("." at least). */
static bool is_folder(const std::string &path)
{
    return file_ops::kind_of(path) != Kind::none && !file_ops::list_directory(path).empty();
}

static std::string without_trailing_separators(std::string path)
{
    while (path.size() > 1 && is_separator(path.back()))
        path.pop_back();
    return path;
}

/* ---- X-Plane ---- */

static const char custom_nav[] = "Custom Data/earth_nav.dat";
static const char default_nav[] = "Resources/default data/earth_nav.dat";
static const char global_12[] = "Global Scenery/Global Airports/Earth nav data/apt.dat";
static const char global_11[] = "Custom Scenery/Global Airports/Earth nav data/apt.dat";
static const char custom_scenery[] = "Custom Scenery";
static const char packs_ini[] = "Custom Scenery/scenery_packs.ini";
static const char pack_apt[] = "Earth nav data/apt.dat";
static const char global_marker[] = "*GLOBAL_AIRPORTS*";

/* Gathers the airport files of the scenery packs in order. */
class PackList {
public:
    PackList(const std::string &folder, SimulatorFiles *files) : folder_(folder), files_(files)
    {
        for (const char *relative : {global_12, global_11}) {
            std::string path = find_path(folder, relative);
            if (global_.empty() && readable_file(path))
                global_ = path;
        }
    }

    /* One line's pack: a folder (relative to X-Plane's or absolute) or the
     * global marker. */
    void pack(const std::string &where, bool enabled)
    {
        std::string apt;
        if (where == global_marker) {
            apt = global_;
        } else {
            std::string pack = is_absolute(where) ? where : find_path(folder_, where);
            apt = find_path(pack, pack_apt);
            if (!readable_file(apt))
                apt.clear();
        }
        if (where == global_marker || (!apt.empty() && apt == global_))
            global_named_ = true;
        if (!enabled) {
            disabled_.push_back(without_trailing_separators(where));
            return;
        }
        if (apt.empty()) {
            without_airports_++;
            return;
        }
        if (std::find(files_->apt_files.begin(), files_->apt_files.end(), apt) ==
            files_->apt_files.end())
            files_->apt_files.push_back(apt);
    }

    /* Global Airports, if the list did not name it. */
    void finish(const char *why)
    {
        if (!global_named_ && !global_.empty()) {
            files_->apt_files.push_back(global_);
            files_->notes.push_back(std::string(why) + ": Global Airports read last");
        }
        std::string text = "scenery packs: " + std::to_string(files_->apt_files.size()) +
                           " airport files to read, " + std::to_string(without_airports_) +
                           " enabled packs without airports";
        if (!disabled_.empty()) {
            text += ", disabled and skipped:";
            for (const std::string &name : disabled_)
                text += " '" + name + "'";
        }
        files_->notes.push_back(text);
    }

private:
    std::string folder_;
    SimulatorFiles *files_;
    std::string global_;
    bool global_named_ = false;
    long without_airports_ = 0;
    std::vector<std::string> disabled_;
};

/* The lines of scenery_packs.ini, in order; false when it cannot be read.
 *   I
 *   1000 Version
 *   SCENERY
 *
 *   SCENERY_PACK Custom Scenery/KSEA Demo Area/
 *   SCENERY_PACK_DISABLED Custom Scenery/Old Mesh/
 *   SCENERY_PACK *GLOBAL_AIRPORTS*
 * A pack's folder stands to the end of the line (names hold blanks),
 * relative to the X-Plane folder or absolute. */
static bool read_packs_ini(const std::string &path, PackList *list)
{
    LineReader in;
    if (!in.open(path))
        return false;
    static const std::string enabled = "SCENERY_PACK ", disabled = "SCENERY_PACK_DISABLED ";
    std::string_view line;
    while (in.next(&line)) {
        bool on = line.compare(0, enabled.size(), enabled) == 0;
        bool off = line.compare(0, disabled.size(), disabled) == 0;
        if (!on && !off)
            continue;
        std::string where(line.substr(on ? enabled.size() : disabled.size()));
        while (!where.empty() && (where.back() == ' ' || where.back() == '\t'))
            where.pop_back();
        size_t first = where.find_first_not_of(" \t");
        if (first == std::string::npos)
            continue;
        list->pack(where.substr(first), on);
    }
    return !in.failed();
}

/* Without scenery_packs.ini: the packs of Custom Scenery by name. */
static void list_custom_scenery(const std::string &folder, PackList *list)
{
    std::string scenery = find_path(folder, custom_scenery);
    std::vector<std::string> names = file_ops::list_directory(scenery);
    std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
        return upper_ascii(a) < upper_ascii(b);
    });
    for (const std::string &name : names)
        if (name != "." && name != ".." && is_folder(join(scenery, name)))
            list->pack(join(scenery, name), true);
}

std::string xplane_files(const std::string &folder, SimulatorFiles *files)
{
    *files = SimulatorFiles();
    if (!is_folder(folder))
        return "--xplane " + folder + ": no such folder";
    const std::string custom = find_path(folder, custom_nav);
    const std::string fallback = find_path(folder, default_nav);
    if (readable_file(custom)) {
        files->nav_file = custom;
        files->notes.push_back(std::string("navaids: ") + custom_nav +
                               " (an installed navigation cycle, used instead of the default data)");
    } else if (readable_file(fallback)) {
        files->nav_file = fallback;
        files->notes.push_back(std::string("navaids: ") + default_nav + " (no " + custom_nav + ")");
    }

    PackList list(folder, files);
    const std::string ini = find_path(folder, packs_ini);
    const bool with_ini = readable_file(ini) && read_packs_ini(ini, &list);
    if (!with_ini)
        list_custom_scenery(folder, &list);
    list.finish(with_ini ? "scenery_packs.ini does not name *GLOBAL_AIRPORTS*"
                         : "no readable scenery_packs.ini: the packs of Custom Scenery by name");

    if (files->nav_file.empty() && files->apt_files.empty())
        return folder + " is not an X-Plane 11 or 12 folder: none of " + custom_nav + ", " +
               default_nav + ", " + global_12 + ", " + global_11 +
               " or a scenery pack's Earth nav data/apt.dat is in it";
    if (files->nav_file.empty())
        files->notes.push_back(std::string("no navaids: neither ") + custom_nav + " nor " +
                               default_nav + " is in " + folder);
    if (files->apt_files.empty())
        files->notes.push_back("no airports: neither Global Airports nor a scenery pack has an "
                               "Earth nav data/apt.dat in " + folder);
    return std::string();
}

/* ---- FlightGear ---- */

static std::string compressed_or_plain(const std::string &folder, const char *relative)
{
    for (const char *suffix : {".gz", ""}) {
        std::string path = find_path(folder, std::string(relative) + suffix);
        if (readable_file(path))
            return path;
    }
    return std::string();
}

std::string flightgear_files(const std::string &folder, SimulatorFiles *files)
{
    *files = SimulatorFiles();
    if (!is_folder(folder))
        return "--flightgear " + folder + ": no such folder";
    std::string root = folder;
    /* The folder FlightGear is installed in holds FGData as "data". */
    if (compressed_or_plain(root, "Airports/apt.dat").empty() &&
        !compressed_or_plain(find_path(folder, "data"), "Airports/apt.dat").empty())
        root = find_path(folder, "data");
    std::string apt = compressed_or_plain(root, "Airports/apt.dat");
    files->nav_file = compressed_or_plain(root, "Navaids/nav.dat");
    if (!apt.empty())
        files->apt_files.push_back(apt);
    if (apt.empty() && files->nav_file.empty())
        return folder + " is not a FlightGear data folder (FGData): neither "
                        "Airports/apt.dat.gz nor Navaids/nav.dat.gz is in it";
    if (apt.empty())
        files->notes.push_back("no airports: no Airports/apt.dat.gz in " + root);
    if (files->nav_file.empty())
        files->notes.push_back("no navaids: no Navaids/nav.dat.gz in " + root);
    return std::string();
}
