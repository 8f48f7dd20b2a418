/*
 * The scenery.cfg reader on arbitrary bytes: sections, name=value lines,
 * the areas' folders, nothing overrun, and what it promises of the areas it
 * keeps.
 */
#include <stdlib.h>

#include <set>
#include <string>

#include "common/tokens.h"
#include "sources/scenery_library.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string text((const char *)data, size);
    SceneryLibrary library;
    parse_scenery_cfg(text, "scenery.cfg", "C:\\Sim", &library);
    std::set<int> numbers;
    std::set<std::string> active_folders;
    for (const SceneryArea &a : library.areas) {
        /* Each area once, with a folder to read. */
        if (!numbers.insert(a.number).second || a.folder.empty() || a.local.empty())
            abort();
        if (a.line < 1)
            abort();
        /* One folder is read once among the active areas, whatever its
         * letter case or separators. */
        std::string key = upper_ascii(a.folder);
        for (char &c : key)
            if (c == '\\')
                c = '/';
        while (key.size() > 1 && key.back() == '/')
            key.pop_back();
        if (a.active && !active_folders.insert(key).second)
            abort();
    }
    for (const std::string &p : library.problems)
        if (p.compare(0, 12, "scenery.cfg:") != 0 || p.size() > 400)
            abort();
    return 0;
}
