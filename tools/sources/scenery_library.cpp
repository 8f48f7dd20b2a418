#include "scenery_library.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <unordered_map>

#include "common/fields.h"
#include "common/file_ops.h"
#include "common/tokens.h"
#include "common/paths.h"

using paths::is_absolute;
using paths::is_separator;
using paths::join;
using paths::separator;

/* ---- Text ---- */

static bool is_blank(char c) { return c == ' ' || c == '\t'; }

static std::string trimmed(const std::string &text)
{
    size_t first = 0, last = text.size();
    while (first < last && is_blank(text[first]))
        first++;
    while (last > first && is_blank(text[last - 1]))
        last--;
    return text.substr(first, last - first);
}

/* A line as it may be quoted in a message: printable ASCII, at most 40
 * characters. */
static std::string shown(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (out.size() >= 40) {
            out += "...";
            break;
        }
        unsigned char u = (unsigned char)c;
        out += u >= 0x20 && u < 0x7F ? c : '?';
    }
    return out;
}




/* A folder as written in scenery.cfg (backslashes) in this system's form,
 * relative ones placed in sim_dir; "." parts and doubled separators go. */
static std::string resolve_folder(const std::string &local, const std::string &sim_dir)
{
    std::string path;
    size_t start = 0;
    if (is_absolute(local)) {
        if (local.size() >= 2 && local[1] == ':') {
            path = local.substr(0, 2);
            start = 2;
        }
        /* A root of its own: "\\server\share" keeps both separators. */
        if (local.size() > start + 1 && is_separator(local[start]) && is_separator(local[start + 1]))
            path += std::string(2, separator), start += 2;
        else if (local.size() > start && is_separator(local[start]))
            path += separator, start += 1;
    } else {
        path = sim_dir;
        while (path.size() > 1 && is_separator(path.back()))
            path.pop_back();
    }
    while (start < local.size()) {
        size_t end = start;
        while (end < local.size() && !is_separator(local[end]))
            end++;
        std::string part = local.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (!path.empty() && !is_separator(path.back()))
            path += separator;
        path += part;
    }
    return path.empty() ? std::string(".") : path;
}

/* Two folders are one when they differ in letter case or separators only
 * (the simulator's file system ignores case). */
static std::string folder_key(const std::string &folder)
{
    std::string key = upper_ascii(folder);
    for (char &c : key)
        if (c == '\\')
            c = '/';
    while (key.size() > 1 && key.back() == '/')
        key.pop_back();
    return key;
}

/* ---- The parse ---- */

namespace {

struct AreaBuilder {
    SceneryArea area;
    std::string remote;
    bool has_layer = false;
};

class CfgParser {
public:
    CfgParser(const std::string &cfg_path, const std::string &sim_dir, SceneryLibrary *library)
        : cfg_(cfg_path), sim_dir_(sim_dir), library_(library)
    {
    }

    void line(std::string text, long number)
    {
        number_ = number;
        if (number == 1 && text.compare(0, 3, "\xEF\xBB\xBF") == 0)
            text.erase(0, 3);
        text = trimmed(text);
        if (text.empty() || text[0] == ';' || text[0] == '#' || text.compare(0, 2, "//") == 0)
            return;
        if (text[0] == '[') {
            section(text);
            return;
        }
        size_t equals = text.find('=');
        if (equals == std::string::npos || equals == 0) {
            problem("not a [section] or a name=value line: '" + shown(text) + "'");
            return;
        }
        std::string name = upper_ascii(trimmed(text.substr(0, equals)));
        std::string value = trimmed(text.substr(equals + 1));
        if (value.size() >= 2 && value[0] == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (in_section_ == none) {
            problem("'" + shown(text) + "' stands before any [section]: passed over");
            return;
        }
        if (in_section_ == area && current_)
            key(name, value, text);
    }

    void finish()
    {
        for (AreaBuilder &b : areas_) {
            SceneryArea &a = b.area;
            if (a.local.empty() && !b.remote.empty())
                a.local = b.remote;
            if (a.local.empty()) {
                problem_at(a.line, "[Area." + number_text(a.number) +
                                       "] names no folder (no Local= or Remote=): skipped");
                continue;
            }
            if (!b.has_layer)
                a.layer = a.number;
            a.folder = resolve_folder(a.local, sim_dir_);
            library_->areas.push_back(a);
        }
        drop_repeated_folders();
    }

private:
    enum Section { none, area, other };

    static std::string number_text(int number)
    {
        char text[16];
        snprintf(text, sizeof text, "%03d", number);
        return text;
    }

    void problem_at(long line, const std::string &what)
    {
        library_->problems.push_back(cfg_ + ":" + std::to_string(line) + ": " + what);
    }
    void problem(const std::string &what) { problem_at(number_, what); }

    void section(const std::string &text)
    {
        current_ = nullptr;
        size_t close = text.find(']');
        if (close == std::string::npos) {
            in_section_ = none;
            problem("section header without its ']': '" + shown(text) + "'");
            return;
        }
        if (!trimmed(text.substr(close + 1)).empty() && trimmed(text.substr(close + 1))[0] != ';')
            problem("text after the section header: '" + shown(text) + "'");
        std::string name = upper_ascii(trimmed(text.substr(1, close - 1)));
        if (name.compare(0, 5, "AREA.") != 0) {
            in_section_ = other;
            return;
        }
        in_section_ = area;
        std::string digits = name.substr(5);
        long number = 0;
        if (digits.empty() || digits.size() > 6 ||
            digits.find_first_not_of("0123456789") != std::string::npos ||
            !parse_long(digits, &number)) {
            problem("'" + shown(text) + "' is no area number: its lines are passed over");
            return;
        }
        /* By number, not a scan of the areas so far: a garbage file of a
         * hundred thousand sections must not take quadratic time. */
        auto seen = area_lines_.find(number);
        if (seen != area_lines_.end()) {
            problem("[Area." + number_text((int)number) + "] comes again (first on line " +
                    std::to_string(seen->second) + "): its lines are passed over");
            return;
        }
        area_lines_[number] = number_;
        areas_.emplace_back();
        current_ = &areas_.back();
        current_->area.number = (int)number;
        current_->area.line = number_;
    }

    void key(const std::string &name, const std::string &value, const std::string &text)
    {
        SceneryArea &a = current_->area;
        if (name == "TITLE") {
            a.title = value;
        } else if (name == "LOCAL") {
            a.local = value;
        } else if (name == "REMOTE") {
            current_->remote = value;
        } else if (name == "LAYER") {
            long layer = 0;
            if (parse_long(value, &layer) && layer >= -1000000 && layer <= 1000000) {
                a.layer = (int)layer;
                current_->has_layer = true;
            } else {
                problem("Layer '" + shown(value) + "' is not a whole number: the area's number " +
                        "stands for it");
            }
        } else if (name == "ACTIVE") {
            std::string v = upper_ascii(value);
            if (v == "TRUE" || v == "1" || v == "YES")
                a.active = true;
            else if (v == "FALSE" || v == "0" || v == "NO")
                a.active = false;
            else
                problem("Active '" + shown(value) + "' is neither TRUE nor FALSE: taken as TRUE");
        } else if (name.empty()) {
            problem("a value without a name: '" + shown(text) + "'");
        }
        /* Texture_ID, Required, Exclude and names not known here: no part
         * of where the navigation records are. */
    }

    /* Two active areas naming one folder: the simulator would load its
     * records twice; they are read once, at the higher of the two layers
     * (the one that would win). */
    void drop_repeated_folders()
    {
        std::vector<SceneryArea> &areas = library_->areas;
        std::vector<bool> drop(areas.size(), false);
        /* Each folder's key made once; the area that holds it so far. */
        std::unordered_map<std::string, size_t> holder;
        for (size_t j = 0; j < areas.size(); j++) {
            if (!areas[j].active)
                continue;
            auto found = holder.emplace(folder_key(areas[j].folder), j);
            if (found.second)
                continue;
            size_t i = found.first->second;
            bool j_wins = areas[j].layer > areas[i].layer ||
                          (areas[j].layer == areas[i].layer && areas[j].number > areas[i].number);
            size_t kept = j_wins ? j : i, gone = j_wins ? i : j;
            problem_at(areas[gone].line,
                       "[Area." + number_text(areas[gone].number) + "] names the folder of [Area." +
                           number_text(areas[kept].number) + "] (" + shown(areas[gone].local) +
                           "): read once, at layer " + std::to_string(areas[kept].layer));
            drop[gone] = true;
            found.first->second = kept;
        }
        std::vector<SceneryArea> kept;
        for (size_t i = 0; i < areas.size(); i++)
            if (!drop[i])
                kept.push_back(areas[i]);
        areas.swap(kept);
    }

    std::string cfg_;
    std::string sim_dir_;
    SceneryLibrary *library_;
    Section in_section_ = none;
    AreaBuilder *current_ = nullptr;
    std::vector<AreaBuilder> areas_;
    std::unordered_map<long, long> area_lines_;   /* area number: its header line */
    long number_ = 0;
};

}  // namespace

void parse_scenery_cfg(const std::string &text, const std::string &cfg_path,
                       const std::string &sim_dir, SceneryLibrary *library)
{
    *library = SceneryLibrary();
    library->cfg_path = cfg_path;
    CfgParser parser(cfg_path, sim_dir, library);
    size_t start = 0;
    long number = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r')
            end++;
        parser.line(text.substr(start, end - start), ++number);
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            end++;
        start = end + 1;
    }
    parser.finish();
}

bool read_scenery_cfg(const std::string &path, const std::string &sim_dir,
                      SceneryLibrary *library, std::string *error)
{
    *library = SceneryLibrary();
    library->cfg_path = path;
    FILE *f = fopen(path.c_str(), "rb");
    if (!f) {
        *error = path + ": " + file_ops::last_error_text();
        return false;
    }
    std::string text;
    char block[16384];
    size_t n;
    bool too_long = false;
    while ((n = fread(block, 1, sizeof block, f)) > 0) {
        if (text.size() + n > scenery_cfg_room) {
            too_long = true;
            break;
        }
        text.append(block, n);
    }
    bool failed = ferror(f) != 0;
    fclose(f);
    if (failed) {
        *error = path + ": could not be read";
        return false;
    }
    if (too_long) {
        *error = path + ": larger than " + std::to_string(scenery_cfg_room / (1024 * 1024)) +
                 " MB: no scenery library";
        return false;
    }
    parse_scenery_cfg(text, path, sim_dir, library);
    return true;
}

/* ---- Where it is ---- */


std::string find_scenery_cfg(const std::string &sim_dir, std::vector<std::string> *looked)
{
    looked->clear();
    looked->push_back(join(sim_dir, "scenery.cfg"));
    if (file_ops::kind_of(looked->back()) == file_ops::Kind::file)
        return looked->back();
    std::vector<std::string> names = file_ops::list_directory(sim_dir);
    std::sort(names.begin(), names.end());
    for (const std::string &name : names)
        if (upper_ascii(name) == "SCENERY.CFG" &&
            file_ops::kind_of(join(sim_dir, name)) == file_ops::Kind::file)
            return join(sim_dir, name);
#ifdef _WIN32
    /* The later release keeps its library in the program-data folder: from
     * Vista on %ProgramData%, on XP the All Users profile's Application
     * Data; the Steam edition in a folder of its own. */
    std::vector<std::string> roots;
    if (const char *data = getenv("ProgramData"))
        roots.push_back(data);
    if (const char *all = getenv("ALLUSERSPROFILE"))
        roots.push_back(join(all, "Application Data"));
    for (const std::string &root : roots)
        for (const char *edition : {"Microsoft\\FSX\\Scenery.CFG", "Microsoft\\FSX-SE\\Scenery.CFG"}) {
            std::string path = join(root, edition);
            if (std::find(looked->begin(), looked->end(), path) != looked->end())
                continue;
            looked->push_back(path);
            if (file_ops::kind_of(path) == file_ops::Kind::file)
                return path;
        }
#endif
    return std::string();
}
