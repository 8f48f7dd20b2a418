/*
 * The searches on a fuzzed data file: the ICAO lookup, the name search and
 * the quick pick must leave both lists (entries and selection) as the model
 * below does, which follows the rules step by step with the plain readers of
 * reference.h.
 *
 * Input: one byte of options (bit 0: navaid mode; bit 1: no data file;
 * bit 2: FIND instead of the lookup), the typed text up to a 0xFF byte (its
 * first zero byte ends it), then the data file.
 */
#include <stdint.h>
#include <stdlib.h>
#include <unistd.h>

#include "reference.h"
#include "selection/facility_file.h"
#include "selection/searches.h"

namespace {

const std::vector<size_t> four_rooms = {39, 39, 39, 39};

/* A match: an airport's short entry into the quick pick, the first selected;
 * a navaid's long entry into the results. */
void model_list(const std::vector<std::string> &f, bool airport_mode, ArrayList &pick,
                ArrayList &results)
{
    if (airport_mode) {
        pick.add(reference::format(short_entry_format, {f[0], f[1]}).c_str());
        pick.select(0);
    } else {
        results.add(reference::format(long_entry_format, f).c_str());
    }
}

void model_lookup(const std::string &typed, bool airport_mode, const std::string *file,
                  ArrayList &pick, ArrayList &results)
{
    pick.clear();
    results.clear();
    if (!file) {
        results.add(airport_mode ? RUNWAY_FILE_ERROR : NAVAID_FILE_ERROR);
        return;
    }
    bool listed = false;
    for (const std::string &line : reference::lines(*file, line_limit)) {
        if (typed.size() > typed_text_room)
            continue;
        std::vector<std::string> f = reference::tokens(line, four_rooms);
        bool prefix = f[0].compare(0, typed.size(), typed) == 0;
        bool exact = reference::same_ignoring_case(f[0], typed);
        if (prefix) {
            model_list(f, airport_mode, pick, results);
            if (!airport_mode)
                continue;
        }
        if (exact) {
            listed = false;
            if (airport_mode) {
                results.clear();
                for (const std::string &runway : reference::runway_lines(line)) {
                    results.add(runway.c_str());
                    listed = true;
                }
            } else {
                model_list(f, airport_mode, pick, results);
                listed = true;
            }
        }
    }
    if (listed)
        results.select(0);
}

void model_find(const std::string &search_text, bool airport_mode, const std::string *file,
                ArrayList &pick, ArrayList &results)
{
    if (!file) {
        results.add(airport_mode ? RUNWAY_FILE_ERROR : NAVAID_FILE_ERROR);
        return;
    }
    results.clear();
    std::string word = reference::tokens(search_text, {search_text_room})[0];
    for (const std::string &line : reference::lines(*file, line_limit)) {
        std::vector<std::string> f = reference::tokens(line, four_rooms);
        if (!reference::same_ignoring_case(word, f[0]) && f[1].find(word) == std::string::npos)
            continue;
        model_list(f, airport_mode, pick, results);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    /* A folder of its own: the searches open their files by bare name. */
    char folder[] = "fuzz-searches-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0)
        abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1 || size > 64 * 1024)
        return 0;
    const bool airport_mode = !(data[0] & 1), missing = data[0] & 2, find = data[0] & 4;
    size_t i = 1;
    std::string typed;
    for (; i < size && data[i] != 0xFF; i++)
        typed += (char)data[i];
    typed = typed.substr(0, typed.find('\0'));
    const std::string file((const char *)data + std::min(i + 1, size), size - std::min(i + 1, size));
    const char *name = airport_mode ? RUNWAY_FILE_NAME : NAVAID_FILE_NAME;
    unlink(RUNWAY_FILE_NAME);
    unlink(NAVAID_FILE_NAME);
    if (!missing) {
        FILE *f = fopen(name, "wb");
        FUZZ_CHECK(f && fwrite(file.data(), 1, file.size(), f) == file.size());
        fclose(f);
    }

    /* Both start from the same lists, so FIND's adding to the quick pick shows. */
    ArrayList pick(true), results(false), model_pick(true), model_results(false);
    for (ArrayList *l : {&pick, &model_pick}) {
        l->add("  KSEA SEATTLE_TACOMA_INTL");
        l->add("  zzzz lower");
    }
    for (ArrayList *l : {&results, &model_results})
        l->add("an entry from before");
    if (find) {
        name_search(typed.c_str(), airport_mode, pick, results);
        model_find(typed, airport_mode, missing ? 0 : &file, model_pick, model_results);
    } else {
        icao_lookup(typed.c_str(), airport_mode, pick, results);
        model_lookup(typed, airport_mode, missing ? 0 : &file, model_pick, model_results);
    }
    FUZZ_CHECK(pick == model_pick);
    FUZZ_CHECK(results == model_results);

    /* The quick pick reads back the chosen entry's code. */
    char code[pick_word_room + 1];
    bool got = quick_pick_code(pick, code, pick_word_room);
    std::string want;
    if (model_pick.selection >= 0 && model_pick.entries[model_pick.selection].size() < entry_room)
        want = reference::tokens(model_pick.entries[model_pick.selection], {pick_word_room})[0];
    FUZZ_CHECK(got == !want.empty());
    FUZZ_CHECK(want == code);
    return 0;
}
