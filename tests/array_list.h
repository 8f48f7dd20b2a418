/* A list control as an array, for the tests and fuzz targets: a sorted one
 * inserts as a sorted combo box does (letter case ignored). */
#ifndef PELMORA_TESTS_ARRAY_LIST_H
#define PELMORA_TESTS_ARRAY_LIST_H

#include <string.h>
#include <strings.h>

#include <algorithm>
#include <string>
#include <vector>

#include "selection/searches.h"

class ArrayList : public ListControl {
public:
    explicit ArrayList(bool sorted = false) : sorted_(sorted) {}
    std::vector<std::string> entries;
    int selection = -1;

    void clear() override
    {
        entries.clear();
        selection = -1;
    }
    bool add(const char *entry) override
    {
        auto at = entries.end();
        if (sorted_)
            at = std::upper_bound(entries.begin(), entries.end(), std::string(entry),
                                  [](const std::string &a, const std::string &b) {
                                      return strcasecmp(a.c_str(), b.c_str()) < 0;
                                  });
        entries.insert(at, entry);
        return true;
    }
    void select(int index) override { selection = index < (int)entries.size() ? index : -1; }
    int count() override { return (int)entries.size(); }
    int selected() override { return selection; }
    bool text(int index, char *out, size_t room) override
    {
        if (index < 0 || index >= (int)entries.size() || entries[index].size() > room)
            return false;
        memcpy(out, entries[index].c_str(), entries[index].size() + 1);
        return true;
    }
    bool operator==(const ArrayList &o) const
    {
        return entries == o.entries && selection == o.selection;
    }

private:
    bool sorted_;
};

#endif
