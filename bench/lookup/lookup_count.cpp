/*
 * One keystroke of the portable ICAO lookup, or one pass of the floor, for an
 * instruction counter: count_keystrokes.sh runs it under Valgrind's callgrind
 * with collection on inside counted_keystroke and counted_floor only, so the
 * count holds the lookup (the file opened, read through and closed, every
 * entry built and handed to the lists) and nothing of the program around it.
 *
 *   lookup_count DIR runway|navaid TYPED     one lookup in DIR's data files
 *   lookup_count DIR floor-runway|floor-navaid
 *                                            the file read in the reader's
 *                                            block size, its line ends found
 *
 * The lists count their entries and keep nothing: in the module a list is
 * the window system's, whose cost is not the lookup's.  The floor looks for
 * line ends with the reader's own word-at-a-time search, the plain loop a
 * Pentium runs, not the C library's vectorised memchr.
 */
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include "selection/facility_file.h"
#include "selection/searches.h"
#include "floor_pass.h"

namespace {

class CountingList : public ListControl {
public:
    void clear() override { count_ = 0, selected_ = -1; }
    bool add(const char *) override
    {
        count_++;
        return true;
    }
    void select(int index) override { selected_ = index < count_ ? index : -1; }
    int count() override { return count_; }
    int selected() override { return selected_; }
    bool text(int, char *out, size_t) override
    {
        out[0] = 0;
        return false;
    }

private:
    int count_ = 0, selected_ = -1;
};

unsigned char floor_block[facility_block_room];

}  // namespace

extern "C" __attribute__((noinline)) void counted_keystroke(const char *typed, bool airport_mode,
                                                            ListControl &pick, ListControl &results)
{
    icao_lookup(typed, airport_mode, pick, results);
}

extern "C" __attribute__((noinline)) long counted_floor(const char *name)
{
    return floor_pass_through(name, floor_block, sizeof floor_block);
}

int main(int argc, char **argv)
{
    if (argc < 3 || chdir(argv[1]) != 0) {
        fprintf(stderr, "usage: lookup_count DIR runway|navaid TYPED | floor-runway|floor-navaid\n");
        return 2;
    }
    const char *what = argv[2];
    if (!strcmp(what, "floor-runway") || !strcmp(what, "floor-navaid")) {
        long lines = counted_floor(what[6] == 'r' ? RUNWAY_FILE_NAME : NAVAID_FILE_NAME);
        printf("lines %ld\n", lines);
        return lines < 0;
    }
    if (argc != 4 || (strcmp(what, "runway") && strcmp(what, "navaid"))) {
        fprintf(stderr, "lookup_count: runway or navaid and the typed text\n");
        return 2;
    }
    CountingList pick, results;
    counted_keystroke(argv[3], what[0] == 'r', pick, results);
    printf("pick %d results %d\n", pick.count(), results.count());
    return 0;
}
